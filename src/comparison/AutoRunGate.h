#pragma once

#include <QDateTime>

#include <atomic>

namespace vantorel {

// The auto mode's one-run-a-minute rule, decided between the pool tasks that
// look for a minute's two files and the window thread that runs the minute.
// A task may read a picker value that is already old, so the window thread
// tests the minute once more before it runs.
class AutoRunGate {
public:
    // Window thread: the buy picker now shows this time.
    void setPicker(const QDateTime& value) { m_picker.store(value.toMSecsSinceEpoch()); }

    // Any thread: whether the picker already shows the time's minute, so that
    // minute has had its run.
    bool hasRun(const QDateTime& now) const;

    // Pool thread, once both files of the minute are in: whether this task may
    // hand a run over. Only one hand-over waits at a time.
    bool claim();

    // Window thread, inside the hand-over: whether the run goes ahead. Ends the
    // hand-over either way.
    bool confirm(const QDateTime& minute);

    // From now on no run goes ahead and no hand-over is claimed.
    void close() { m_closed.store(true); }
    bool closed() const { return m_closed.load(); }

private:
    std::atomic<qint64> m_picker{0};
    std::atomic<bool> m_pending{false};
    std::atomic<bool> m_closed{false};
};

} // namespace vantorel
