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

    static Config fromBuild();
};

} // namespace vantorel
