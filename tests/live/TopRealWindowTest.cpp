#include "Envelope.h"
#include "common/StringGrid.h"
#include "comparison/Unit1.h"
#include "live/uRealOneSel.h"
#include "live/uTopReal.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"
#include "support/SettableClock.h"
#include "support/Snapshots.h"
#include "support/Typing.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace vantorel {
namespace {

using test::waitUntil;

// Stock lines of 09:00: code, name, count.
QByteArray snapshot(QList<QByteArray> stocks) {
    for (QByteArray& s : stocks)
        s.prepend("090000,");
    return test::snapshotFile(stocks);
}

QStringList codesOf(const TextGrid& list) {
    QStringList codes;
    for (int r = 1; r < list.rowCount(); ++r)
        codes << list.cell(0, r);
    return codes;
}

// A top-10 window opened from the main window's "Top Real", following the
// results the member builds there with "소스2" and "결과".
class TopRealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_clock.set(QDateTime(QDate(2025, 7, 1), QTime(10, 15)));
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_dir.path()), Config{}});
        ASSERT_TRUE(QDir().mkpath(m_context->folder.dataFolder()));
        m_main = std::make_unique<TfrmMain>(*m_context);
        m_main->show();
        QTest::keyClicks(m_main->edcp2, QStringLiteral("B.dat"));
        QTest::keyClicks(m_main->edcpM2, QStringLiteral("S.dat"));
        QTest::mouseClick(m_main->Button26, Qt::LeftButton);
        ASSERT_EQ(m_main->liveWindows().size(), 1);
        m_top = dynamic_cast<TfrmTopReal*>(m_main->liveWindows()[0]);
        ASSERT_NE(m_top, nullptr);
    }

    void addFile(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(m_context->folder.dataFolder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The member loads both snapshots and builds the result.
    void showResult(const QList<QByteArray>& buy, const QList<QByteArray>& sell) {
        addFile(QStringLiteral("B.dat"), snapshot(buy));
        addFile(QStringLiteral("S.dat"), snapshot(sell));
        QTest::mouseClick(m_main->Button5, Qt::LeftButton);
        QTest::mouseClick(m_main->Button13, Qt::LeftButton);
        QTest::mouseClick(m_main->Button19, Qt::LeftButton);
    }
    // K L M N P Q: 매수합 9, 5, 4, -3, -4, -8.
    void showSixStocks(int k = 9, int q = 8) {
        showResult({"K,케이," + QByteArray::number(k), "L,엘,7", "M,엠,4", "P,피,2"},
                   {"L,엘,2", "N,엔,3", "P,피,6", "Q,큐," + QByteArray::number(q)});
    }
    void query() { QTest::mouseClick(m_top->Button1, Qt::LeftButton); }
    // Waits for the refresh that the result counter's change brings.
    bool refreshed() {
        return waitUntil([&] { return m_top->pgRCnt == m_main->pgMCnt; });
    }
    static QPoint cellCentre(StringGrid* grid, int column, int row) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    QList<TfrmOneSel*> stockWindows() const {
        QList<TfrmOneSel*> windows;
        for (QWidget* w : m_main->liveWindows()) {
            if (auto* one = dynamic_cast<TfrmOneSel*>(w))
                windows << one;
        }
        return windows;
    }

    QTemporaryDir m_dir;
    test::RecordingMessages m_messages;
    test::SettableClock m_clock;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TfrmMain> m_main;
    TfrmTopReal* m_top = nullptr;
};

TEST_F(TopRealWindow, OpensAtTenTenWithItsControlsAndNothingToShow) {
    EXPECT_EQ(m_top->windowTitle(), QStringLiteral("Top Real 10"));
    EXPECT_EQ(m_top->size(), QSize(884, 384));
    EXPECT_EQ(m_top->pos(), QPoint(10, 10));
    EXPECT_EQ(m_top->cbCondi->count(), 2);
    EXPECT_EQ(m_top->cbCondi->itemText(0), QStringLiteral("매수 0 or 매도 0"));
    EXPECT_EQ(m_top->cbCondi->itemText(1), QStringLiteral("매수 매도 상위"));
    EXPECT_EQ(m_top->cbCondi->currentIndex(), 0);
    EXPECT_EQ(m_top->Button1->text(), QStringLiteral("조회"));
    EXPECT_EQ(m_top->Panel1->text(), QStringLiteral("매수"));
    EXPECT_EQ(m_top->Panel2->text(), QStringLiteral("매도"));
    EXPECT_EQ(m_top->edPlus->text(), QStringLiteral("2"));
    EXPECT_EQ(m_top->edMinus->text(), QStringLiteral("2"));
    EXPECT_TRUE(m_top->Memo1->isReadOnly());
    EXPECT_TRUE(m_top->Memo2->isReadOnly());
    EXPECT_FALSE(m_top->SpeedButton1->icon().isNull());
    for (StringGrid* grid : {m_top->sgBuy, m_top->sgSell}) {
        const int widths[] = {56, 60, 54, 53, 47};
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(grid->columnWidth(c), widths[c] + 1);
        EXPECT_EQ(grid->grid().rowCount(), 1);
    }
    EXPECT_FALSE(m_top->gAutoSer);
    EXPECT_EQ(m_top->pgRCnt, 0);
    EXPECT_EQ(m_top->gBuyRow, 0);
    EXPECT_EQ(m_top->gSellRow, 0);

    // A result before "조회" is not followed.
    showSixStocks();
    test::spin(300);
    EXPECT_EQ(m_top->sgBuy->grid().row(0), QStringList(5));
    EXPECT_TRUE(m_top->Memo1->toPlainText().isEmpty());
}

TEST_F(TopRealWindow, FollowsEachNewResultAfterTheQuery) {
    // Before any result, "조회" waits for one; a reset table has no rows to show.
    query();
    EXPECT_TRUE(m_top->gAutoSer);
    QTest::mouseClick(m_main->Button25, Qt::LeftButton);
    test::spin(300);
    EXPECT_EQ(m_top->sgBuy->grid().rowCount(), 1);

    showSixStocks();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(codesOf(m_top->sgBuy->grid()), (QStringList{QStringLiteral("K"), QStringLiteral("M")}));
    EXPECT_EQ(codesOf(m_top->sgSell->grid()), (QStringList{QStringLiteral("Q"), QStringLiteral("N")}));
    EXPECT_EQ(m_top->sgBuy->grid().cell(4, 0), QStringLiteral("매수합"));
    EXPECT_EQ(m_top->Memo1->toPlainText(), QStringLiteral("K (케이): +9\nM (엠): +4"));
    EXPECT_EQ(m_top->Memo2->toPlainText(), QStringLiteral("Q (큐): -8\nN (엔): -3"));
    // Every code is new at the first refresh.
    EXPECT_EQ(m_top->sgBuy->lookOf(0, 1), CellLook(kRed, kWhite));
    EXPECT_EQ(m_top->sgSell->lookOf(0, 2), CellLook(kPureBlue, kWhite));
    EXPECT_EQ(m_top->sgBuy->lookOf(0, 0), CellLook(kWhite, kRed, true));
    EXPECT_EQ(m_top->sgSell->lookOf(2, 0), CellLook(kWhite, kPureBlue, true));
    EXPECT_EQ(m_top->sgBuy->lookOf(1, 1), CellLook(kWhite, kBlack));

    // K up by 3, Q down by 3: one line each, and no code is new any more.
    showSixStocks(12, 11);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(m_top->Memo1->toPlainText(), QStringLiteral("K (케이): +3"));
    EXPECT_EQ(m_top->Memo2->toPlainText(), QStringLiteral("Q (큐): -3"));
    EXPECT_EQ(m_top->sgBuy->lookOf(0, 1), CellLook(kWhite, kBlack));

    // A buy threshold that is no number: no buy-side lines, the lists all the same.
    m_top->edPlus->selectAll();
    QTest::keyClicks(m_top->edPlus, QStringLiteral("abc"));
    showSixStocks(20, 14);
    ASSERT_TRUE(refreshed());
    EXPECT_TRUE(m_top->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(m_top->Memo2->toPlainText(), QStringLiteral("Q (큐): -3"));
    EXPECT_EQ(m_top->sgBuy->grid().cell(4, 1), QStringLiteral("20"));

    // No new result: nothing refreshes, even when the table changes under it.
    QTest::mouseClick(m_main->Button25, Qt::LeftButton);
    test::spin(300);
    EXPECT_EQ(m_top->sgBuy->grid().cell(4, 1), QStringLiteral("20"));
}

TEST_F(TopRealWindow, ChangingTheConditionEmptiesTheListsUntilTheNextRefresh) {
    showSixStocks();
    query();
    ASSERT_TRUE(refreshed());
    const QString lines = m_top->Memo1->toPlainText();

    m_top->cbCondi->setFocus();
    QTest::keyClick(m_top->cbCondi, Qt::Key_Down);
    ASSERT_EQ(m_top->cbCondi->currentIndex(), 1);
    for (StringGrid* grid : {m_top->sgBuy, m_top->sgSell}) {
        EXPECT_EQ(grid->grid().rowCount(), 3);
        for (int r = 0; r < grid->grid().rowCount(); ++r)
            EXPECT_EQ(grid->grid().row(r), QStringList(5));
    }
    EXPECT_EQ(m_top->Memo1->toPlainText(), lines);
    test::spin(300);
    EXPECT_EQ(m_top->sgBuy->grid().row(1), QStringList(5));

    // "조회" refreshes by the new condition, every code new again.
    query();
    ASSERT_TRUE(waitUntil([&] { return m_top->sgBuy->grid().rowCount() == 7; }));
    EXPECT_EQ(codesOf(m_top->sgSell->grid()),
              (QStringList{QStringLiteral("Q"), QStringLiteral("P"), QStringLiteral("N"), QStringLiteral("M"),
                           QStringLiteral("L"), QStringLiteral("K")}));
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(m_top->sgBuy->lookOf(0, r), CellLook(kRed, kWhite)) << r;

    // And back by keyboard: the next result fills the lists by condition 0.
    QTest::keyClick(m_top->cbCondi, Qt::Key_Up);
    ASSERT_EQ(m_top->cbCondi->currentIndex(), 0);
    EXPECT_EQ(m_top->sgSell->grid().row(1), QStringList(5));
    QTest::mouseClick(m_main->Button19, Qt::LeftButton);
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(codesOf(m_top->sgSell->grid()), (QStringList{QStringLiteral("Q"), QStringLiteral("N")}));
}

TEST_F(TopRealWindow, ADoubleClickOnAStockOpensItsWindow) {
    showSixStocks();
    query();
    ASSERT_TRUE(refreshed());

    test::doubleClick(m_top->sgBuy->viewport(), cellCentre(m_top->sgBuy, 1, 2));
    ASSERT_TRUE(waitUntil([&] { return stockWindows().size() == 1; }));
    EXPECT_EQ(m_top->gBuyRow, 2);
    EXPECT_EQ(stockWindows()[0]->edCode->text(), QStringLiteral("M"));
    EXPECT_TRUE(stockWindows()[0]->isVisible());

    test::doubleClick(m_top->sgSell->viewport(), cellCentre(m_top->sgSell, 0, 1));
    ASSERT_TRUE(waitUntil([&] { return stockWindows().size() == 2; }));
    EXPECT_EQ(m_top->gSellRow, 1);
    EXPECT_EQ(stockWindows()[1]->edCode->text(), QStringLiteral("Q"));

    // The heading row and an emptied row open nothing.
    test::doubleClick(m_top->sgBuy->viewport(), cellCentre(m_top->sgBuy, 0, 0));
    test::spin(100);
    EXPECT_EQ(m_top->gBuyRow, 0);
    QTest::keyClick(m_top->cbCondi, Qt::Key_Down);
    test::doubleClick(m_top->sgSell->viewport(), cellCentre(m_top->sgSell, 0, 2));
    test::spin(100);
    EXPECT_EQ(m_top->gSellRow, 2);
    EXPECT_EQ(stockWindows().size(), 2);
}

TEST_F(TopRealWindow, TheWidthButtonHidesAndShowsTheChangeLines) {
    QTest::mouseClick(m_top->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(m_top->width(), 584);
    EXPECT_EQ(m_top->height(), 384);
    EXPECT_GE(m_top->edPlus->x(), m_top->width());
    EXPECT_GE(m_top->Memo2->x(), m_top->width());
    EXPECT_LT(m_top->sgSell->geometry().right(), m_top->width());
    const QImage narrow = m_top->SpeedButton1->icon().pixmap(20).toImage();
    QTest::mouseClick(m_top->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(m_top->width(), 884);
    EXPECT_NE(m_top->SpeedButton1->icon().pixmap(20).toImage(), narrow);
}

TEST_F(TopRealWindow, ClosingFreesTheWindowAndEndsItsRefresh) {
    query();
    QPointer<TfrmTopReal> top = m_top;
    top->close();
    ASSERT_TRUE(waitUntil([&] { return top.isNull(); }));
    EXPECT_TRUE(m_main->liveWindows().isEmpty());
    // The main window's next result finds no window to refresh.
    showSixStocks();
    test::spin(200);
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

} // namespace
} // namespace vantorel
