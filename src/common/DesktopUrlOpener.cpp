#include "common/DesktopUrlOpener.h"

#include <QDesktopServices>

namespace vantorel {

void DesktopUrlOpener::open(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

} // namespace vantorel
