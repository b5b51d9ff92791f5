#include "help/ManualAddress.h"
#include "help/uManual.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace vantorel {
namespace {

// A program folder whose path holds a space and Hangul, as a member's might.
class ManualWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(m_program)); }

    QString manualPath() const { return QDir(m_program).filePath(kManualFileName); }

    void writeManual(int pages) {
        QPdfWriter writer(manualPath());
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                writer.newPage();
            painter.drawText(200, 200, QStringLiteral("page %1").arg(p + 1));
        }
    }

    QTemporaryDir m_dir;
    QString m_program = QDir(m_dir.path()).filePath(QStringLiteral("모르윅 지표/프로그램 폴더"));
};

TEST_F(ManualWindow, ShowsTheManualBesideTheProgramPageAfterPageAsWideAsTheWindow) {
    writeManual(3);
    TfrmManual manual{ProgramFolder(m_program)};
    manual.show();
    EXPECT_EQ(manual.windowTitle(), QStringLiteral("모르윅 지표 설명서"));
    EXPECT_EQ(manual.size(), QSize(1388, 871));
    EXPECT_NE(manual.minimumSize(), manual.maximumSize());
    ASSERT_EQ(manual.document()->status(), QPdfDocument::Status::Ready);
    EXPECT_EQ(manual.document()->pageCount(), 3);
    EXPECT_TRUE(manual.pdfView->isVisible());
    EXPECT_FALSE(manual.lbNoManual->isVisible());
    EXPECT_EQ(manual.pdfView->pageMode(), QPdfView::PageMode::MultiPage);
    EXPECT_EQ(manual.pdfView->zoomMode(), QPdfView::ZoomMode::FitToWidth);
    EXPECT_EQ(manual.pdfView->geometry(), manual.rect());

    manual.resize(900, 600);
    EXPECT_EQ(manual.pdfView->geometry(), QRect(0, 0, 900, 600));
}

TEST_F(ManualWindow, WithoutAReadableManualItShowsItsOwnPageNamingTheFile) {
    struct Case {
        const char* what;
        QByteArray content; // empty: no file at all
        QString says;
        QString fileLabel;
    };
    const Case cases[] = {
        {"missing", {}, QStringLiteral("설명서 파일을 찾을 수 없습니다."), QStringLiteral("찾는 파일: ")},
        {"not a PDF", "this is not a PDF\n", QStringLiteral("설명서 파일을 열 수 없습니다."),
         QStringLiteral("연 파일: ")},
        {"cut short", "%PDF-1.4\n1 0 obj\n<<", QStringLiteral("설명서 파일을 열 수 없습니다."),
         QStringLiteral("연 파일: ")},
    };
    for (const Case& c : cases) {
        QFile::remove(manualPath());
        if (!c.content.isEmpty()) {
            QFile file(manualPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }
        TfrmManual manual{ProgramFolder(m_program)};
        manual.show();
        EXPECT_TRUE(manual.lbNoManual->isVisible()) << c.what;
        EXPECT_FALSE(manual.pdfView->isVisible()) << c.what;
        EXPECT_EQ(manual.lbNoManual->geometry(), manual.rect()) << c.what;
        const QString text = manual.lbNoManual->text();
        EXPECT_TRUE(text.startsWith(c.says)) << c.what << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(c.fileLabel + manualPath())) << c.what << ": " << text.toStdString();
    }
}

TEST_F(ManualWindow, AFolderNameWithAddressCharactersIsTakenLiterally) {
    m_program = QDir(m_dir.path()).filePath(QStringLiteral("C# 100% 정말?"));
    ASSERT_TRUE(QDir().mkpath(m_program));
    writeManual(1);
    TfrmManual manual{ProgramFolder(m_program)};
    manual.show();
    EXPECT_TRUE(manual.pdfView->isVisible()) << manual.lbNoManual->text().toStdString();
    EXPECT_EQ(manual.document()->pageCount(), 1);
}

TEST_F(ManualWindow, TwoWindowsAreIndependent) {
    writeManual(2);
    TfrmManual first{ProgramFolder(m_program)};
    TfrmManual second{ProgramFolder(m_program)};
    first.show();
    second.show();
    EXPECT_NE(first.document(), second.document());
    first.close();
    EXPECT_FALSE(first.isVisible());
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(second.document()->pageCount(), 2);
    EXPECT_EQ(first.document()->pageCount(), 2);
}

} // namespace
} // namespace vantorel
