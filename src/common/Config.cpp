#include "common/Config.h"

#include "BuildConfig.h"

namespace vantorel {

Config Config::fromBuild() {
    Config config;
    for (const char* line : build::databaseSettings)
        config.databaseSettings << QString::fromLatin1(line);
    config.dataServerHost = QString::fromUtf8(build::dataServerHost);
    config.dataServerPort = build::dataServerPort;
    return config;
}

} // namespace vantorel
