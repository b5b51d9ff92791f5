#include "DataServerProcess.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "snapshots/SnapshotFiles.h"
#include "snapshots/uClient.h"
#include "snapshots/uFileManager.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/SettableClock.h"

#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace vantorel {
namespace {

using test::waitUntil;

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2025, 7, 1), QTime(h, m, s));
}

// An hour of trading on the settable clock: the scheduler, the main window in
// auto mode, a top-10 window and a single-stock window, against a synthetic
// data server whose day is complete already.
TEST(TradingHour, EveryMinuteShowsUpOnceInEveryWindowInOrder) {
    dataserver::DataServerProcess server({QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                                          QStringLiteral("60"), QStringLiteral("--now"),
                                          QStringLiteral("2025-07-01T15:30:00")});
    QTemporaryDir dir;
    test::RecordingMessages messages;
    test::SettableClock clock(at(10, 0, 5));
    AppContext context{messages, clock, ProgramFolder(dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), server.port()}};
    TfrmReceive receive(context);
    TfrmMain main(context);
    main.attachReceiver(&receive);
    TfrmFileManager manager(context, receive);
    main.show();

    // The minutes the main window's auto mode ran, as its buy picker shows them.
    QStringList autoRuns;
    QObject::connect(main.DateTimePicker2, &QDateTimeEdit::dateTimeChanged,
                     [&](const QDateTime& t) { autoRuns << t.toString(QStringLiteral("HH:mm")); });
    // On its indicator: the button takes clicks on its indicator and caption only.
    QTest::mouseClick(main.rgReal->findChildren<QRadioButton*>().at(1), Qt::LeftButton, {}, QPoint(6, 9));
    ASSERT_EQ(main.rgRealIndex(), 1);
    ASSERT_TRUE(waitUntil([&] { return main.pgMCnt == 2; }, 10000));

    TfrmTopReal* top = main.openTopTenWindow();
    QTest::mouseClick(top->Button1, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return top->pgRCnt == main.pgMCnt; }));
    const QString code = main.sgTotalTarget->grid().cell(0, 1);
    TfrmOneSel* stock = main.openStockWindow(code);
    QTest::keyClick(stock->edCode, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return stock->gOne == 1; }));

    // Every window's timer ticks ten times as often: the same passes, an hour
    // in a few seconds.
    for (QTimer* timer : {manager.Timer6, manager.Timer7, main.Timer8, top->Timer1, stock->Timer2})
        timer->setInterval(10);

    QList<qint32> refreshes{top->pgRCnt};
    for (int minute = 1; minute < 60; ++minute) {
        clock.set(at(10, minute, 1));
        const qint32 expected = 2 * (minute + 1);
        ASSERT_TRUE(waitUntil([&] { return main.pgMCnt == expected && top->pgRCnt == expected; }))
            << "10:" << minute << " pgMCnt " << main.pgMCnt;
        refreshes << top->pgRCnt;
        // The single-stock window appends the minute once both its files are in.
        const TextGrid& rows = stock->sgRealSel->grid();
        ASSERT_TRUE(waitUntil([&] {
            return rows.cell(0, rows.rowCount() - 2) ==
                   QStringLiteral("10 : %1").arg(minute, 2, 10, QLatin1Char('0'));
        })) << "10:"
            << minute;
    }

    QStringList minutes;
    for (QTime t(10, 0); t <= QTime(10, 59); t = t.addSecs(60))
        minutes << t.toString(QStringLiteral("HH:mm"));
    EXPECT_EQ(autoRuns, minutes);
    QList<qint32> everyResult;
    for (int i = 1; i <= 60; ++i)
        everyResult << 2 * i;
    EXPECT_EQ(refreshes, everyResult);

    const TextGrid& rows = stock->sgRealSel->grid();
    QStringList shown;
    for (int r = 1; r < rows.rowCount() - 1; ++r)
        shown << rows.cell(0, r);
    QStringList day;
    for (QTime t(9, 0); t <= QTime(10, 59); t = t.addSecs(60))
        day << t.toString(QStringLiteral("HH : mm"));
    EXPECT_EQ(shown, day);
    EXPECT_EQ(rows.row(rows.rowCount() - 1), QStringList(4)); // waiting for 11:00
    EXPECT_TRUE(QDir(context.folder.dataFolder()).entryList({QStringLiteral("*.part")}).isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u'\n').toStdString();
}

} // namespace
} // namespace vantorel
