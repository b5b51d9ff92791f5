#include "snapshots/DownloadPlan.h"

#include "snapshots/SnapshotFiles.h"

namespace vantorel {

int timeOfDayNumber(const QDateTime& time) {
    return time.time().hour() * 100 + time.time().minute();
}

QStringList backlogStems(const QDateTime& now) {
    const QDate today = now.date();
    const QDateTime start(today, QTime(9, 0));
    const QDateTime end = timeOfDayNumber(now) <= kLastSlotOfDay ? now : QDateTime(today, QTime(15, 20));
    QStringList stems;
    for (QDateTime t = start; t <= end; t = t.addSecs(60))
        stems << slotStem(t);
    return stems;
}

} // namespace vantorel
