#include "help/NoticeCheck.h"

namespace vantorel {

void CheckAndOpenBrowser() {
    // The service's notice site is not wired in yet: there is nothing to ask.
}

} // namespace vantorel
