#pragma once

#include "common/Clock.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace vantorel {

// Keeps the data folder supplied with the day's snapshot files: one backlog
// pass shortly after start, then the current minute's two files until both are
// in. Whenever the connection to the data server comes back after a loss, the
// backlog pass runs again, so minutes missed meanwhile are fetched too.
// It learns that a file arrived only by finding it in the folder.
class DownloadScheduler : public QObject {
    Q_OBJECT
public:
    using Request = std::function<void(const QString& fileName)>;

    DownloadScheduler(const Clock& clock, QString dataFolder, Request request, QObject* parent = nullptr);

    // Starts both timers (every 100 ms). Their owner connects them to the
    // passes, so that it can run them as its handlers.
    void start();

    // Asks for every missing file of the day up to now; the first time, also
    // notes every minute up to now as needing no more asking by the clock pass.
    void backlogPass();
    // Asks for the current minute's missing files, until both are in.
    void clockPass();

    // The transfer engine's connection events.
    void connectionLost();
    void connectionOpened();

    QTimer& backlogTimer() { return m_backlogTimer; }
    QTimer& clockTimer() { return m_clockTimer; }

    // Slot stems the clock pass asks for no more.
    QStringList done;
    // 0 until the first backlog pass has run.
    int backlogRun = 0;

private:
    bool present(const QString& fileName) const;
    void requestMissing(const QString& stem);

    const Clock& m_clock;
    QString m_folder;
    Request m_request;
    QTimer m_backlogTimer;
    QTimer m_clockTimer;
    bool m_lostSinceBacklog = false;
};

} // namespace vantorel
