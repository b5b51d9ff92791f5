#pragma once

#include "common/Clock.h"
#include "common/Config.h"
#include "common/Messages.h"
#include "common/ProgramFolder.h"

namespace vantorel {

// What every window is handed at creation instead of reaching for globals.
struct AppContext {
    Messages& messages;
    const Clock& clock;
    ProgramFolder folder;
    Config config;
};

} // namespace vantorel
