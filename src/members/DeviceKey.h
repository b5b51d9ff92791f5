#pragma once

#include <QString>

namespace vantorel {

// The key that the code requests of one PC are counted under: its first network
// adapter's hardware address. A platform piece, so that another platform (or a
// test) can supply its own.
class DeviceKey {
public:
    virtual ~DeviceKey() = default;
    // The address as the platform writes it ("00:1A:2B:3C:4D:5E"); the empty text
    // when there is none; "Unknown" when the platform cannot tell.
    virtual QString ReadMACAddress() const = 0;
};

// The first interface in the platform's order that is not loopback and has a
// hardware address.
class NetworkDeviceKey final : public DeviceKey {
public:
    QString ReadMACAddress() const override;
};

// The one the program uses.
const DeviceKey& networkDeviceKey();

} // namespace vantorel
