#pragma once

#include <QStringList>

namespace vantorel {

// The SMS gateway the member services send codes through.
struct SmsConfig {
    // HTTPS endpoint, path /messages/v4/send.
    QString url;
    QString apiKey;
    QString apiSecret;
    // The service's registered sender number.
    QString sender;
    // PEM file of the CA certificates to trust; empty for the system's.
    QString caFile;
    // A silent gateway must not hold the window for good.
    int timeLimitMs = 15000;
};

// Endpoints and credentials the program is built with. The program takes them
// from the build; tests make their own.
struct Config {
    // The member database settings: one base64 "Key=Value" line each.
    QStringList databaseSettings;
    // The data server that serves the snapshot files.
    QString dataServerHost;
    quint16 dataServerPort = 5000;
    // The service's web site: the notice check over plain HTTP, the notice page
    // over HTTPS. Without a host the program asks no site.
    struct Site {
        QString host;
        quint16 httpPort = 80;
        quint16 httpsPort = 443;
        // The notice check gives up after this long; a silent site must not keep
        // the member from signing in.
        int checkTimeoutMs = 5000;
    } site{};
    SmsConfig sms{};

    static Config fromBuild();
};

} // namespace vantorel
