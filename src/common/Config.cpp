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
    config.sms.url = QString::fromUtf8(build::smsUrl);
    config.sms.apiKey = QString::fromUtf8(build::smsApiKey);
    config.sms.apiSecret = QString::fromUtf8(build::smsApiSecret);
    config.sms.sender = QString::fromUtf8(build::smsSender);
    config.sms.caFile = QString::fromUtf8(build::smsCaFile);
    return config;
}

} // namespace vantorel
