#include "common/Config.h"

#include "BuildConfig.h"

namespace vantorel {

Config Config::fromBuild() {
    Config config;
    for (const char* line : build::databaseSettings)
        config.databaseSettings << QString::fromLatin1(line);
    return config;
}

} // namespace vantorel
