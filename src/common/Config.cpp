#include "common/Config.h"

#include "BuildConfig.h"

namespace vantorel {

Config Config::fromBuild() {
    Config config;
    for (const char* line : build::databaseSettings)
        config.databaseSettings << QString::fromLatin1(line);
    config.dataServerHost = QString::fromUtf8(build::dataServerHost);
    config.dataServerPort = build::dataServerPort;
    config.site.host = QString::fromUtf8(build::siteHost);
    config.site.httpPort = build::siteHttpPort;
    config.site.httpsPort = build::siteHttpsPort;
    return config;
}

} // namespace vantorel
