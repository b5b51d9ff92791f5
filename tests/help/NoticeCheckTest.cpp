#include "help/NoticeCheck.h"
#include "common/Error.h"
#include "support/HttpReplyServer.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScriptedServer.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

namespace vantorel {
namespace {

Config::Site siteOn(quint16 httpPort, int timeoutMs = 5000) {
    Config::Site site;
    site.host = QStringLiteral("127.0.0.1");
    site.httpPort = httpPort;
    site.httpsPort = 18444;
    site.checkTimeoutMs = timeoutMs;
    return site;
}

// The error the check throws, or an empty text when it throws none.
QString errorOf(const Config::Site& site, UrlOpener& opener) {
    try {
        CheckAndOpenBrowser(site, opener);
    } catch (const Error& e) {
        return e.text();
    }
    return {};
}

TEST(NoticeCheck, OnlyTheExactWordOpensTheNoticePage) {
    struct Case {
        QByteArray body;
        bool opens;
    };
    const Case cases[] = {
        {"EXISTS", true},   {"exists", false}, {"EXISTS\n", false}, {"EXISTS\r\n", false},
        {" EXISTS", false}, {"", false},       {"NONE", false},     {"EXISTS EXISTS", false},
    };
    test::HttpReplyServer server;
    for (const Case& c : cases) {
        server.setReply(200, c.body);
        test::RecordingUrlOpener opener;
        EXPECT_EQ(errorOf(siteOn(server.port()), opener), QString()) << c.body.toStdString();
        const QList<QUrl> expected =
            c.opens ? QList<QUrl>{QUrl(QStringLiteral("https://127.0.0.1:18444/community/notice.asp"))}
                    : QList<QUrl>{};
        EXPECT_EQ(opener.opened, expected) << '"' << c.body.toStdString() << '"';
    }
    ASSERT_EQ(server.requestLines().size(), qsizetype(std::size(cases)));
    for (const QByteArray& line : server.requestLines())
        EXPECT_EQ(line, "GET /community/notice_check.asp HTTP/1.1");
}

TEST(NoticeCheck, TheSitesAddressesLeaveOutTheSchemesOwnPorts) {
    Config::Site site;
    site.host = QStringLiteral("www.example.co.kr");
    EXPECT_EQ(noticeCheckUrl(site).toString(),
              QStringLiteral("http://www.example.co.kr/community/notice_check.asp"));
    EXPECT_EQ(noticePageUrl(site).toString(),
              QStringLiteral("https://www.example.co.kr/community/notice.asp"));
    site.httpPort = 18080;
    site.httpsPort = 18444;
    EXPECT_EQ(noticeCheckUrl(site).toString(),
              QStringLiteral("http://www.example.co.kr:18080/community/notice_check.asp"));
    EXPECT_EQ(noticePageUrl(site).toString(),
              QStringLiteral("https://www.example.co.kr:18444/community/notice.asp"));
}

TEST(NoticeCheck, AnAnswerThatIsNotASuccessIsAnErrorEvenWithTheWord) {
    test::HttpReplyServer server;
    for (const int status : {404, 500, 302}) {
        server.setReply(status, "EXISTS");
        test::RecordingUrlOpener opener;
        const QString error = errorOf(siteOn(server.port()), opener);
        EXPECT_FALSE(error.isEmpty()) << status;
        EXPECT_TRUE(opener.opened.isEmpty()) << status;
    }
}

TEST(NoticeCheck, ASiteThatIsDownIsAnError) {
    quint16 port = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    }
    test::RecordingUrlOpener opener;
    EXPECT_EQ(errorOf(siteOn(port), opener), QStringLiteral("Connection refused"));
    EXPECT_TRUE(opener.opened.isEmpty());
}

TEST(NoticeCheck, ASiteThatNeverAnswersIsGivenUpOnAtTheLimit) {
    // Takes the connection and the request, and says nothing.
    test::ScriptedServer silent;
    test::RecordingUrlOpener opener;
    const QString error = errorOf(siteOn(silent.port(), 300), opener);
    EXPECT_EQ(error, QStringLiteral("http://127.0.0.1:%1/community/notice_check.asp: no answer within 0.3 s")
                         .arg(silent.port()));
    EXPECT_TRUE(silent.received().startsWith("GET /community/notice_check.asp"))
        << silent.received().toStdString();
    EXPECT_TRUE(opener.opened.isEmpty());
}

TEST(NoticeCheck, TheProgramEndingWhileTheCheckWaitsEndsItQuietly) {
    test::ScriptedServer silent;
    QTimer::singleShot(100, [] { QCoreApplication::exit(0); });
    test::RecordingUrlOpener opener;
    EXPECT_EQ(errorOf(siteOn(silent.port()), opener), QString());
    EXPECT_TRUE(opener.opened.isEmpty());
}

TEST(NoticeCheck, ABuildWithoutASiteAsksNothing) {
    test::ScriptedServer server;
    Config::Site site = siteOn(server.port());
    site.host.clear();
    test::RecordingUrlOpener opener;
    EXPECT_EQ(errorOf(site, opener), QString());
    EXPECT_EQ(server.connections(), 0);
    EXPECT_TRUE(opener.opened.isEmpty());
}

} // namespace
} // namespace vantorel
