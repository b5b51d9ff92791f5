#pragma once

#include <QDateTime>
#include <QStringList>

namespace vantorel {

// The trading day's slots run from 09:00 to 15:20, one a minute.
inline constexpr int kLastSlotOfDay = 1520;

// Hour × 100 + minute of the time (13:37 gives 1337).
int timeOfDayNumber(const QDateTime& time);

// Every slot stem of the time's day from 09:00 up to the time, at most up to 15:20.
QStringList backlogStems(const QDateTime& now);

} // namespace vantorel
