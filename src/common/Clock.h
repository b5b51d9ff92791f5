#pragma once

#include <QDateTime>

namespace vantorel {

// Where every rule that reads the time gets it; tests set it by hand. The auto
// mode reads it from pool threads, so now() must be safe from any thread.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace vantorel
