#include "DataServerProcess.h"
#include "Envelope.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "snapshots/uClient.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/SettableClock.h"
#include "support/Snapshots.h"
#include "support/ToolProcess.h"
#include "support/Typing.h"

#include <gtest/gtest.h>

#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace vantorel {
namespace {

using test::waitUntil;

QDateTime at(int h, int m, int s = 0) {
    return QDateTime(QDate(2025, 7, 1), QTime(h, m, s));
}

// The main window with a real transfer window, against a synthetic data server
// whose clock stands at 10:30 on 1 July 2025.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_clock.set(at(10, 15, 20));
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_dir.path()),
                       Config{{}, QStringLiteral("127.0.0.1"), m_server.port()}});
        m_main = std::make_unique<TfrmMain>(*m_context);
        m_receive = std::make_unique<TfrmReceive>(*m_context);
        m_main->attachReceiver(m_receive.get());
        ASSERT_TRUE(waitUntil([&] { return m_receive->engine().isConnected(); }));
    }

    QString dataFile(const QString& name) const {
        return QDir(m_context->folder.dataFolder()).filePath(name);
    }
    void addFile(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(m_context->folder.dataFolder()));
        QFile f(dataFile(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray contentOf(const QString& name) const {
        QFile f(dataFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void choose(QGroupBox* group, int index) {
        group->findChildren<QRadioButton*>().at(index)->setChecked(true);
    }
    // Where the member points at a cell of a grid.
    static QPoint cellCentre(StringGrid* grid, int column, int row) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    static void clickCell(StringGrid* grid, int column, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, column, row));
        test::spin(10);
    }
    // Buy and sell snapshots of three stocks each, loaded and compared.
    void showResult() {
        addFile(QStringLiteral("B.dat"),
                test::snapshotFile({"090000,111111,가,1", "090000,222222,나,9", "090000,333333,다,4"}));
        addFile(QStringLiteral("S.dat"),
                test::snapshotFile({"090000,111111,가,2", "090000,222222,나,1", "090000,444444,라,7"}));
        m_main->show();
        QTest::keyClicks(m_main->edcp2, QStringLiteral("B.dat"));
        QTest::keyClicks(m_main->edcpM2, QStringLiteral("S.dat"));
        QTest::mouseClick(m_main->Button5, Qt::LeftButton);
        QTest::mouseClick(m_main->Button13, Qt::LeftButton);
        QTest::mouseClick(m_main->Button19, Qt::LeftButton);
    }
    QStringList resultCodes() const {
        QStringList codes;
        for (int r = 1; r < m_main->sgTotalTarget->grid().rowCount(); ++r)
            codes << m_main->sgTotalTarget->grid().cell(0, r);
        return codes;
    }

    dataserver::DataServerProcess m_server{{QStringLiteral("--synthetic"), QStringLiteral("--stocks"),
                                            QStringLiteral("40"), QStringLiteral("--now"),
                                            QStringLiteral("2025-07-01T10:30:00")}};
    QTemporaryDir m_dir;
    test::RecordingMessages m_messages;
    test::SettableClock m_clock;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TfrmReceive> m_receive;
};

TEST_F(MainWindow, OpensWithItsControlsAndDefaults) {
    EXPECT_EQ(m_main->windowTitle(), QStringLiteral("Morwick Corp. Data"));
    EXPECT_EQ(m_main->size(), QSize(711, 789));
    EXPECT_EQ(m_main->pos(), QPoint(0, 0));
    EXPECT_EQ(m_main->DateTimePicker2->dateTime(), at(9, 0));
    EXPECT_EQ(m_main->DateTimePicker4->displayFormat(), QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_TRUE(m_main->DateTimePicker2->calendarPopup());
    EXPECT_TRUE(m_main->DateTimePicker4->calendarPopup());
    EXPECT_EQ(m_main->edStockCode->text(), QStringLiteral("000000"));
    EXPECT_EQ(m_main->rgRealIndex(), 0);
    EXPECT_EQ(m_main->rgBSIndex(), 0);
    EXPECT_EQ(m_main->gReaultRow, -1);
    EXPECT_EQ(m_main->pgMCnt, 0);
    EXPECT_EQ(m_main->Button19->text(), QStringLiteral("결과"));
    EXPECT_EQ(m_main->sgTotalTarget->geometry(), QRect(363, 150, 340, 607));
    // Each with its 1 px grid line.
    EXPECT_EQ(m_main->sgcp2->columnWidth(2), 114 + 1);
    EXPECT_EQ(m_main->sgTotalTarget->rowHeight(0), 24 + 1);
}

TEST_F(MainWindow, SetAsksForAMissingFileOnlyAndLoadFillsTheGrid) {
    m_main->DateTimePicker2->setDateTime(at(9, 5));
    m_main->Button17->click();
    EXPECT_EQ(m_main->edcp2->text(), QStringLiteral("B20250701_0905.dat"));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(dataFile(QStringLiteral("B20250701_0905.dat"))); }));

    // Present already: no request, so the server's copy does not replace it.
    addFile(QStringLiteral("S20250701_1520.dat"), test::snapshotFile({"093000,005930,삼성전자,3"}));
    m_main->DateTimePicker4->setDateTime(at(15, 20));
    m_main->Button23->click();
    EXPECT_EQ(m_main->edcpM2->text(), QStringLiteral("S20250701_1520.dat"));
    test::spin(300);
    EXPECT_EQ(contentOf(QStringLiteral("S20250701_1520.dat")),
              test::snapshotFile({"093000,005930,삼성전자,3"}));

    m_main->Button5->click();
    EXPECT_EQ(m_main->sgcp2->grid().rowCount(), 41);
    EXPECT_EQ(m_main->sgcp2->grid().cell(0, 0), QStringLiteral("Time"));
    m_main->Button13->click();
    EXPECT_EQ(m_main->sgcpM2->grid().rowCount(), 2);
    EXPECT_EQ(m_main->sgcpM2->grid().row(1), (QStringList{QStringLiteral("0930"), QStringLiteral("005930"),
                                                          QStringLiteral("삼성전자"), QStringLiteral("3")}));
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'\n').toStdString();
}

TEST_F(MainWindow, LoadingAMissingFileLeavesTheGridEmpty) {
    addFile(QStringLiteral("B20250701_0900.dat"), test::snapshotFile({"090000,111111,가,5"}));
    m_main->edcp2->setText(QStringLiteral("B20250701_0900.dat"));
    m_main->Button5->click();
    ASSERT_EQ(m_main->sgcp2->grid().rowCount(), 2);

    m_main->edcpM2->setText(QStringLiteral("S20250701_0900.dat"));
    m_main->Button13->click();
    EXPECT_EQ(m_main->sgcpM2->grid().rowCount(), 1);
    EXPECT_EQ(m_main->sgcpM2->grid().row(0), QStringList(4));
    EXPECT_EQ(m_main->Memo1.last(),
              QStringLiteral("파일이 존재하지 않습니다: ") + dataFile(QStringLiteral("S20250701_0900.dat")));

    // An empty name is the data folder itself, no file; a path is no name.
    m_main->edcpM2->clear();
    m_main->Button13->click();
    EXPECT_EQ(m_main->sgcpM2->grid().rowCount(), 1);
    m_main->edcpM2->setText(QStringLiteral("../B20250701_0900.dat"));
    m_main->Button13->click();
    EXPECT_EQ(m_messages.shown, QStringList{QStringLiteral(
                                    "파일 이름에 사용할 수 없는 문자가 있습니다: ../B20250701_0900.dat")});
    EXPECT_EQ(m_main->sgcpM2->grid().rowCount(), 1);
}

TEST_F(MainWindow, TheResultIsSortedColouredAndScrolledToTheChosenEnd) {
    QList<QByteArray> buy;
    for (int i = 0; i < 30; ++i)
        buy << QByteArray("090000,") + QByteArray::number(100000 + i) + ",종목," + QByteArray::number(i);
    addFile(QStringLiteral("B.dat"), test::snapshotFile(buy));
    addFile(QStringLiteral("S.dat"), test::snapshotFile({"090000,100029,종목,29", "090000,999999,매도만,4"}));
    m_main->edcp2->setText(QStringLiteral("B.dat"));
    m_main->edcpM2->setText(QStringLiteral("S.dat"));
    m_main->show();
    m_main->Button5->click();
    m_main->Button13->click();
    choose(m_main->rgBS, 1);
    m_main->Button19->click();

    const TextGrid& total = m_main->sgTotalTarget->grid();
    ASSERT_EQ(total.rowCount(), 32);
    EXPECT_EQ(total.row(1), (QStringList{QStringLiteral("100028"), QStringLiteral("종목"),
                                         QStringLiteral("28"), QStringLiteral("0"), QStringLiteral("28")}));
    EXPECT_EQ(total.cell(0, 31), QStringLiteral("999999"));
    EXPECT_EQ(m_main->sgTotalTarget->topRow(), 8);
    EXPECT_EQ(m_main->sgTotalTarget->columnWidth(1), 60 + 1);
    EXPECT_EQ(m_main->sgTotalTarget->columnWidth(2), 64 + 1);
    EXPECT_EQ(m_main->pgMCnt, 1);
    EXPECT_EQ(m_main->sgTotalTarget->colourOf(2, 1), kBuyPink);
    EXPECT_EQ(m_main->sgTotalTarget->colourOf(2, 31), kSellBlue);
    m_main->edStockCode->setText(QStringLiteral("999999"));
    EXPECT_EQ(m_main->sgTotalTarget->colourOf(2, 31), kRed);

    // "매수" shows the top; the reset clears to one empty row of five columns.
    choose(m_main->rgBS, 0);
    m_main->Button19->click();
    EXPECT_EQ(m_main->sgTotalTarget->topRow(), 0);
    m_main->Button25->click();
    EXPECT_EQ(total.rowCount(), 1);
    EXPECT_EQ(total.row(0), QStringList(5));
    EXPECT_EQ(m_main->sgcp2->grid().row(0), QStringList(4));
    EXPECT_EQ(m_main->pgMCnt, 2);
}

TEST_F(MainWindow, HeadingSelectionSortsAndTheDoubleClickOpensTheSelectedStock) {
    addFile(QStringLiteral("B.dat"), test::snapshotFile({"090000,111111,가,1", "090000,222222,나,9"}));
    m_main->edcp2->setText(QStringLiteral("B.dat"));
    m_main->Button5->click();
    m_main->sgcp2SelectCell(3, 0);
    EXPECT_EQ(m_main->sgcp2->grid().cell(1, 1), QStringLiteral("222222"));

    m_main->Button19->click();
    m_main->sgTotalTargetDblClick(); // nothing selected yet
    EXPECT_TRUE(m_main->liveWindows().empty());
    m_main->sgTotalTargetSelectCell(1, 2);
    EXPECT_EQ(m_main->gReaultRow, 2);
    m_main->sgTotalTargetDblClick();
    ASSERT_EQ(m_main->liveWindows().size(), 1);
    auto* one = dynamic_cast<TfrmOneSel*>(m_main->liveWindows()[0]);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->edCode->text(), QStringLiteral("111111"));
    EXPECT_TRUE(one->isVisible());

    m_main->Button24->click();
    m_main->Button26->click();
    ASSERT_EQ(m_main->liveWindows().size(), 3);
    EXPECT_EQ(dynamic_cast<TfrmOneSel*>(m_main->liveWindows()[1])->edCode->text(), QStringLiteral("000000"));
    EXPECT_NE(dynamic_cast<TfrmTopReal*>(m_main->liveWindows()[2]), nullptr);

    // Closing one frees it; the others stay.
    QPointer<QWidget> closed = m_main->liveWindows()[1];
    closed->close();
    ASSERT_TRUE(waitUntil([&] { return closed.isNull(); }));
    EXPECT_EQ(m_main->liveWindows().size(), 2);
}

TEST_F(MainWindow, OnlyTheMembersSelectionSortsAGridNotFocusOrARebuild) {
    showResult();
    const QStringList byDifference{QStringLiteral("222222"), QStringLiteral("333333"),
                                   QStringLiteral("111111"), QStringLiteral("444444")};
    ASSERT_EQ(resultCodes(), byDifference);
    StringGrid* grid = m_main->sgTotalTarget;
    clickCell(grid, 0, 2);
    EXPECT_EQ(m_main->gReaultRow, 2);

    // A rebuild, then focus leaves the grid and comes back by Tab and by the
    // window becoming active again: no selection, no sort.
    QTest::mouseClick(m_main->Button19, Qt::LeftButton);
    m_main->Button19->setFocus();
    QTest::keyClick(m_main->Button19, Qt::Key_Tab);
    ASSERT_TRUE(grid->hasFocus());
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    m_main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
    test::spin(20);
    ASSERT_TRUE(grid->hasFocus());
    EXPECT_EQ(resultCodes(), byDifference);
    EXPECT_EQ(m_main->gReaultRow, 2);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 0));

    // Arrow keys go on from the member's cell; Up into row 0 sorts by its column.
    QTest::keyClick(grid, Qt::Key_Down);
    test::spin(10);
    EXPECT_EQ(m_main->gReaultRow, 3);
    EXPECT_EQ(resultCodes(), byDifference);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid, Qt::Key_Up);
    test::spin(10);
    EXPECT_EQ(m_main->gReaultRow, 0);
    EXPECT_EQ(resultCodes(), (QStringList{QStringLiteral("444444"), QStringLiteral("333333"),
                                          QStringLiteral("222222"), QStringLiteral("111111")}));

    // A click on the current heading sorts again, after a rebuild sorted by difference.
    QTest::mouseClick(m_main->Button19, Qt::LeftButton);
    ASSERT_EQ(resultCodes(), byDifference);
    clickCell(grid, 0, 0);
    EXPECT_EQ(resultCodes().first(), QStringLiteral("444444"));

    // The snapshot grids too: a reload keeps the member's cell and sorts nothing.
    clickCell(m_main->sgcp2, 2, 1);
    QTest::mouseClick(m_main->Button5, Qt::LeftButton);
    m_main->sgcp2->setFocus(Qt::ActiveWindowFocusReason);
    test::spin(20);
    EXPECT_EQ(m_main->sgcp2->grid().cell(1, 1), QStringLiteral("111111"));
    EXPECT_EQ(m_main->sgcp2->currentIndex(), m_main->sgcp2->model()->index(1, 2));
}

TEST_F(MainWindow, ADoubleClickOpensTheStockOfItsRowOrTheHeadingAfterSorting) {
    showResult();
    StringGrid* grid = m_main->sgTotalTarget;
    test::doubleClick(grid->viewport(), cellCentre(grid, 2, 3));
    ASSERT_TRUE(waitUntil([&] { return m_main->liveWindows().size() == 1; }));
    EXPECT_EQ(dynamic_cast<TfrmOneSel*>(m_main->liveWindows()[0])->edCode->text(), QStringLiteral("111111"));

    // The same row while the window was busy: the double-click is handled
    // right after the press, still after the selection.
    test::doubleClickWhileBusy(grid->viewport(), cellCentre(grid, 1, 3));
    ASSERT_TRUE(waitUntil([&] { return m_main->liveWindows().size() == 2; }));
    EXPECT_EQ(dynamic_cast<TfrmOneSel*>(m_main->liveWindows()[1])->edCode->text(), QStringLiteral("111111"));
    m_main->liveWindows()[1]->close();
    ASSERT_TRUE(waitUntil([&] { return m_main->liveWindows().size() == 1; }));

    test::doubleClick(grid->viewport(), cellCentre(grid, 0, 0));
    ASSERT_TRUE(waitUntil([&] { return m_main->liveWindows().size() == 2; }));
    EXPECT_EQ(dynamic_cast<TfrmOneSel*>(m_main->liveWindows()[1])->edCode->text(),
              QStringLiteral("종목코드"));
    EXPECT_EQ(resultCodes(), (QStringList{QStringLiteral("444444"), QStringLiteral("333333"),
                                          QStringLiteral("222222"), QStringLiteral("111111")}));
    test::spin(50);
    EXPECT_EQ(m_main->liveWindows().size(), 2);
}

TEST_F(MainWindow, TheAutoModeFollowsTheMinuteOnceBothFilesAreIn) {
    // Manual mode: no tick changes anything.
    addFile(QStringLiteral("B20250701_1015.dat"), test::snapshotFile({"101500,111111,가,5"}));
    test::spin(300);
    EXPECT_EQ(m_main->DateTimePicker2->dateTime(), at(9, 0));

    choose(m_main->rgReal, 1);
    // Only the buy file: the auto mode waits.
    test::spin(300);
    EXPECT_EQ(m_main->pgMCnt, 0);

    addFile(QStringLiteral("S20250701_1015.dat"), test::snapshotFile({"101500,222222,나,3"}));
    ASSERT_TRUE(waitUntil([&] { return m_main->pgMCnt == 2; }));
    EXPECT_EQ(m_main->DateTimePicker2->dateTime().toString(QStringLiteral("HH:mm")), QStringLiteral("10:15"));
    EXPECT_EQ(m_main->DateTimePicker4->dateTime().toString(QStringLiteral("HH:mm")), QStringLiteral("10:15"));
    EXPECT_EQ(m_main->edcp2->text(), QStringLiteral("B20250701_1015.dat"));
    EXPECT_EQ(m_main->sgTotalTarget->grid().rowCount(), 3);

    // Nothing more in the same minute.
    m_clock.set(at(10, 15, 50));
    test::spin(400);
    EXPECT_EQ(m_main->pgMCnt, 2);
}

TEST_F(MainWindow, ClosingDeletesTheDataFilesButNotFoldersAndEndsTheProgram) {
    for (int i = 0; i < 5; ++i)
        addFile(QStringLiteral("B20250701_090%1.dat").arg(i), "x");
    ASSERT_TRUE(QDir().mkpath(dataFile(QStringLiteral("keep"))));
    m_main->show();
    EXPECT_EQ(test::runUntilQuit([&] { m_main->close(); }), 0);
    EXPECT_EQ(QDir(m_context->folder.dataFolder()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(QFileInfo(dataFile(QStringLiteral("keep"))).isDir());
}

} // namespace
} // namespace vantorel
