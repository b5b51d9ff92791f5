#pragma once

#include <QStringList>

namespace vantorel {

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

    static Config fromBuild();
};

} // namespace vantorel
