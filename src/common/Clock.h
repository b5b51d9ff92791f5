#pragma once

#include <QDateTime>

#include <optional>

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

// The system clock set to another time at construction, running at real speed
// from there: for rehearsing a trading day at any hour.
class ShiftedClock final : public Clock {
public:
    explicit ShiftedClock(const QDateTime& start)
        : m_shiftMs(QDateTime::currentDateTime().msecsTo(start)) {}
    QDateTime now() const override { return QDateTime::currentDateTime().addMSecs(m_shiftMs); }

private:
    qint64 m_shiftMs;
};

// "HH:MM" or "HH:MM:SS" as that time of the given day; nothing for other text.
std::optional<QDateTime> timeOfDay(const QString& text, const QDate& day);

} // namespace vantorel
