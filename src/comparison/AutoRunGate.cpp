#include "comparison/AutoRunGate.h"

#include "snapshots/SnapshotFiles.h"

namespace vantorel {

bool AutoRunGate::hasRun(const QDateTime& now) const {
    return slotStem(now) == slotStem(QDateTime::fromMSecsSinceEpoch(m_picker.load()));
}

bool AutoRunGate::claim() {
    bool idle = false;
    return !m_closed.load() && m_pending.compare_exchange_strong(idle, true);
}

bool AutoRunGate::confirm(const QDateTime& minute) {
    // The picker is the window thread's own here: a run of this minute that
    // finished after the task looked has moved it already.
    const bool go = !m_closed.load() && !hasRun(minute);
    m_pending.store(false);
    return go;
}

} // namespace vantorel
