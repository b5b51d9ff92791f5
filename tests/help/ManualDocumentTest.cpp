#include "help/ManualAddress.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QProcess>
#include <QRegularExpression>

namespace vantorel {
namespace {

// The manual the build wrote beside the program.
class ManualDocument : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_pdf.load(path()), QPdfDocument::Error::None) << path().toStdString();
        for (int page = 0; page < m_pdf.pageCount(); ++page)
            m_pages << m_pdf.getAllText(page).text();
    }

    static QString path() { return QDir(QCoreApplication::applicationDirPath()).filePath(kManualFileName); }

    // Line breaks fall where the layout put them: compare without blanks.
    static QString squeezed(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s+"))); }

    // The "![caption](path)" pictures of the manual's source.
    static int picturesInSource() {
        QFile source(QStringLiteral(VANTOREL_SOURCE_DIR "/docs/manual/manual.md"));
        if (!source.open(QIODevice::ReadOnly))
            return -1;
        static const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\([^)]+\\)"));
        int count = 0;
        for (auto it = picture.globalMatch(QString::fromUtf8(source.readAll())); it.hasNext(); it.next())
            ++count;
        return count;
    }

    QPdfDocument m_pdf;
    QStringList m_pages;
};

TEST_F(ManualDocument, HoldsTheMembersTextOnEveryPage) {
    ASSERT_GE(m_pdf.pageCount(), 8);
    for (int page = 0; page < m_pages.size(); ++page)
        EXPECT_GE(squeezed(m_pages[page]).size(), 40) << "page " << page + 1;
    const QString all = squeezed(m_pages.join(u'\n'));
    // Nothing is left announced for later: every window is described as it is.
    EXPECT_FALSE(all.contains(squeezed(QStringLiteral("준비 중"))));
    EXPECT_FALSE(all.contains(QStringLiteral("예정입니다")));
    // A few things each chapter must tell, so that a chapter left behind by a
    // change of the program shows here.
    for (const QString& phrase : {
             QStringLiteral("아이디 저장하기"),
             QStringLiteral("로그인 실패: 아이디 또는 비밀번호가 올바르지 않습니다."),
             QStringLiteral("실시간 적용여부"),
             QStringLiteral("매수합"),
             QStringLiteral("실시간 종목상황"),
             QStringLiteral("셋째 줄부터"),
             QStringLiteral("실시간 갱신이 멈추므로"),
             QStringLiteral("매수 0 or 매도 0"),
             QStringLiteral("매수순간증감"),
             QStringLiteral("창 너비 전환"),
             QStringLiteral("Ctrl+C"),
             QStringLiteral("CSV로 저장…"),
             QStringLiteral("UTF-8(BOM 포함)"),
             QStringLiteral("메일주소"),
             QStringLiteral("세 가지를 읽고"),
             QStringLiteral("5분에 한 번만"),
             QStringLiteral("전화번호 또는 EMail 가운데 하나만"),
             QStringLiteral("하루(서버 날짜 기준)에 한 번만"),
             QStringLiteral("New PassWord"),
             QStringLiteral("SMS 전송 실패: …"),
             QStringLiteral("인증 요청은 5분에 한 번만 가능합니다."),
             QStringLiteral("임시 비밀번호는 하루에 한번만 전송 받을 수 있습니다."),
             QStringLiteral("Invalid ID or Password."),
             QStringLiteral("Error updating password: …"),
             QStringLiteral("회원가입 실패:…"),
             QStringLiteral("Data 폴더"),
         })
        EXPECT_TRUE(all.contains(squeezed(phrase))) << phrase.toStdString();
    // Words stay apart in the text, so that a search finds them.
    EXPECT_TRUE(m_pages[0].contains(QStringLiteral("모르윅 프로그램 매뉴얼"))) << m_pages[0].toStdString();
}

TEST_F(ManualDocument, TheContentsNameThePageEachChapterStartsOn) {
    // Contents lines read "N. Title" with the page number after them.
    static const QRegularExpression entry(
        QStringLiteral("(?m)^(\\d+)\\. (\\S[^\\n]*?)\\s*\\n?\\s*(\\d+)\\s*$"));
    int chapters = 0;
    for (auto it = entry.globalMatch(m_pages[0]); it.hasNext();) {
        const auto match = it.next();
        const QString title = match.captured(1) + QStringLiteral(". ") + match.captured(2);
        const int page = match.captured(3).toInt();
        ASSERT_GE(page, 2) << title.toStdString();
        ASSERT_LE(page, m_pages.size()) << title.toStdString();
        EXPECT_TRUE(m_pages[page - 1].trimmed().startsWith(title))
            << title.toStdString() << " on page " << page << ": " << m_pages[page - 1].left(80).toStdString();
        ++chapters;
    }
    EXPECT_GE(chapters, 7) << m_pages[0].toStdString();
}

TEST_F(ManualDocument, ShowsTheWindowsPictures) {
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path()});
    ASSERT_TRUE(images.waitForFinished(30000));
    // Two heading lines, then one line per picture: one for each the source shows.
    const QList<QByteArray> lines = images.readAllStandardOutput().trimmed().split('\n');
    EXPECT_EQ(lines.size() - 2, picturesInSource()) << lines.join('\n').toStdString();
}

} // namespace
} // namespace vantorel
