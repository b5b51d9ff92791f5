#pragma once

#include "common/AppContext.h"
#include "snapshots/DownloadScheduler.h"

#include <QStringList>
#include <QWidget>

class QTimer;

namespace vantorel {

class TfrmReceive;

// The hidden window that keeps the data folder supplied with the day's files:
// one backlog pass at start, then the current minute's two files until both are
// in, and the backlog again whenever the data server's connection comes back.
class TfrmFileManager : public QWidget {
    Q_OBJECT
public:
    TfrmFileManager(AppContext& context, TfrmReceive& receive, QWidget* parent = nullptr);

    void Timer6Timer();
    void Timer7Timer();

private:
    TfrmReceive& m_receive;
    DownloadScheduler m_scheduler;

public:
    QTimer* Timer6;
    QTimer* Timer7;
    // Slot stems whose files need no more asking.
    QStringList& mmDate;
    // 0 until the backlog pass has run.
    int& gOne;
};

} // namespace vantorel
