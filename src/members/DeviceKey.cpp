#include "members/DeviceKey.h"

#include <QNetworkInterface>

namespace vantorel {

QString NetworkDeviceKey::ReadMACAddress() const {
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    // Every system has a loopback interface: an empty list means the query failed.
    if (interfaces.isEmpty())
        return QStringLiteral("Unknown");
    for (const QNetworkInterface& interface : interfaces) {
        if (interface.flags() & QNetworkInterface::IsLoopBack)
            continue;
        const QString address = interface.hardwareAddress();
        if (!address.isEmpty() && address != QLatin1String("00:00:00:00:00:00"))
            return address;
    }
    return {};
}

const DeviceKey& networkDeviceKey() {
    static const NetworkDeviceKey key;
    return key;
}

} // namespace vantorel
