#include "common/StringGrid.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace vantorel {
namespace {

TextGrid sampleGrid() {
    TextGrid grid(3, 1);
    grid.setCell(0, 0, QStringLiteral("종목코드"));
    grid.setCell(1, 0, QStringLiteral("종목명"));
    grid.setCell(2, 0, QStringLiteral("총매수"));
    grid.appendRow({QStringLiteral("005930"), QStringLiteral("삼성전자"), QStringLiteral("12")});
    grid.appendRow({QStringLiteral("000660"), QStringLiteral("SK \"하이닉스\", 우"), QStringLiteral("7")});
    grid.appendRow({QStringLiteral("035420"), QStringLiteral("NAVER\t탭"), QStringLiteral("-3")});
    return grid;
}

QPoint centre(StringGrid& view, int column, int row) {
    return view.visualRect(view.model()->index(row, column)).center();
}

TEST(StringGridExport, CtrlCCopiesTheSelectedBlockWithItsHeadingsOrTheWholeGrid) {
    TextGrid grid = sampleGrid();
    StringGrid view(grid, {60, 80, 50}, 20);
    view.resize(300, 200);
    view.show();

    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral(
                  "종목코드\t종목명\t총매수\n005930\t삼성전자\t12\n000660\t\"SK \"\"하이닉스\"\", 우\"\t7\n"
                  "035420\t\"NAVER\t탭\"\t-3\n"));

    // Two rows, two columns, picked with the mouse and shift.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre(view, 1, 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(view, 2, 2));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("종목명\t총매수\n삼성전자\t12\n\"SK \"\"하이닉스\"\", 우\"\t7\n"));
}

TEST(StringGridExport, TheContextMenuSavesTheGridAsCsvForASpreadsheet) {
    QTemporaryDir dir;
    test::RecordingMessages messages;
    TextGrid grid = sampleGrid();
    StringGrid view(grid, {60, 80, 50}, 20);
    view.setObjectName(QStringLiteral("sgTotalTarget"));
    view.setMessages(messages);
    view.resize(300, 200);
    view.show();
    const auto chooseSave = [&] {
        // The member picks the menu's one item.
        QTimer::singleShot(0, [] {
            QWidget* menu = QApplication::activePopupWidget();
            ASSERT_NE(menu, nullptr);
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, centre(view, 0, 1),
                                view.mapToGlobal(centre(view, 0, 1)));
        QApplication::sendEvent(view.viewport(), &event);
    };

    const QString path = QDir(dir.path()).filePath(QStringLiteral("결과.csv"));
    messages.saveAnswers << path;
    chooseSave();
    EXPECT_EQ(messages.asked, QStringList{QStringLiteral("sgTotalTarget.csv")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF"
                                         "종목코드,종목명,총매수\r\n005930,삼성전자,12\r\n"
                                         "000660,\"SK \"\"하이닉스\"\", 우\",7\r\n035420,NAVER\t탭,-3\r\n"));

    // Cancelled: nothing written; a folder that is not there: the member is told.
    chooseSave();
    EXPECT_TRUE(messages.shown.isEmpty());
    const QString nowhere = QDir(dir.path()).filePath(QStringLiteral("없는폴더/결과.csv"));
    messages.saveAnswers << nowhere;
    chooseSave();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(QStringLiteral("CSV 파일을 저장하지 못했습니다: ") + nowhere))
        << messages.shown[0].toStdString();
}

} // namespace
} // namespace vantorel
