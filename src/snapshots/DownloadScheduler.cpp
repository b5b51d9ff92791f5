#include "snapshots/DownloadScheduler.h"

#include "snapshots/DownloadPlan.h"
#include "snapshots/SnapshotFiles.h"

#include <QDir>
#include <QFileInfo>

namespace vantorel {

DownloadScheduler::DownloadScheduler(const Clock& clock, QString dataFolder, Request request, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_folder(std::move(dataFolder))
    , m_request(std::move(request)) {
    m_backlogTimer.setInterval(100);
    m_clockTimer.setInterval(100);
}

void DownloadScheduler::start() {
    m_backlogTimer.start();
    m_clockTimer.start();
}

bool DownloadScheduler::present(const QString& fileName) const {
    return QFileInfo::exists(QDir(m_folder).filePath(fileName));
}

void DownloadScheduler::requestMissing(const QString& stem) {
    if (!present(buyFileName(stem)))
        m_request(buyFileName(stem));
    if (!present(sellFileName(stem)))
        m_request(sellFileName(stem));
}

void DownloadScheduler::backlogPass() {
    if (backlogRun != 0)
        return;
    done << backlogStems(m_clock.now());
    for (const QString& stem : std::as_const(done))
        requestMissing(stem);
    backlogRun = 1;
}

void DownloadScheduler::clockPass() {
    if (backlogRun != 1)
        return;
    const QDateTime now = m_clock.now();
    const QString stem = slotStem(now);
    if (done.contains(stem) || timeOfDayNumber(now) > kLastSlotOfDay)
        return;
    requestMissing(stem);
    if (present(buyFileName(stem)) && present(sellFileName(stem)))
        done << stem;
}

void DownloadScheduler::connectionLost() {
    m_lostSinceBacklog = true;
}

void DownloadScheduler::connectionOpened() {
    // Before the first pass there is nothing to catch up on: it runs by itself.
    if (!m_lostSinceBacklog || backlogRun != 1)
        return;
    m_lostSinceBacklog = false;
    // What was asked for while the connection was down never went out, and
    // what was on its way when it broke never came. The minutes stay as they
    // are for the clock pass, which goes on asking for the current one.
    for (const QString& stem : backlogStems(m_clock.now()))
        requestMissing(stem);
}

} // namespace vantorel
