#include "app/uLogin.h"
#include "support/EventLoop.h"
#include "support/HttpReplyServer.h"
#include "support/MemberDb.h"
#include "support/RecordingMessages.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScriptedServer.h"
#include "support/Typing.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace vantorel {
namespace {

using test::typeText;
using test::waitUntil;

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The login window asking a site on the given port each time it is shown.
class NoticeOnShow : public ::testing::Test {
protected:
    std::unique_ptr<TfrmLogin> showLogin(quint16 sitePort, int timeoutMs = 5000) {
        Config config{test::databaseSettingLines(QStringLiteral("127.0.0.1"), closedPort(),
                                                 QStringLiteral("nobody"), QStringLiteral("none")),
                      QStringLiteral("127.0.0.1"), 1};
        config.site.host = QStringLiteral("127.0.0.1");
        config.site.httpPort = sitePort;
        config.site.httpsPort = 18444;
        config.site.checkTimeoutMs = timeoutMs;
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_folder.path()), std::move(config)});
        auto login = std::make_unique<TfrmLogin>(*m_context, m_opener);
        // There is no member database here; only the notice check's reports count.
        m_messages.errors.clear();
        login->edPWD->setFocus();
        login->show();
        return login;
    }

    // The window takes typing again and kept the member's place.
    static void expectUsable(TfrmLogin& login) {
        EXPECT_TRUE(login.isEnabled());
        EXPECT_EQ(login.focusWidget(), login.edPWD);
        login.edID->clear();
        typeText(login.edID, QStringLiteral("Member1"));
        EXPECT_EQ(login.edID->text(), QStringLiteral("Member1"));
    }

    test::RecordingMessages m_messages;
    test::RecordingUrlOpener m_opener;
    SystemClock m_clock;
    QTemporaryDir m_folder;
    std::unique_ptr<AppContext> m_context;
};

TEST_F(NoticeOnShow, APendingNoticeOpensInTheBrowserEachTimeTheWindowIsShown) {
    test::HttpReplyServer site;
    site.setReply(200, "EXISTS");
    auto login = showLogin(site.port());
    const QUrl page(QStringLiteral("https://127.0.0.1:18444/community/notice.asp"));
    ASSERT_TRUE(waitUntil([&] { return m_opener.opened.size() == 1; }));
    EXPECT_EQ(m_opener.opened[0], page);

    login->hide();
    login->show();
    ASSERT_TRUE(waitUntil([&] { return m_opener.opened.size() == 2; }));
    EXPECT_EQ(m_opener.opened[1], page);
    EXPECT_EQ(site.requestLines().size(), 2);
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    expectUsable(*login);

    // Without a notice the window just opens.
    site.setReply(200, "NONE");
    login->hide();
    login->show();
    ASSERT_TRUE(waitUntil([&] { return site.requestLines().size() == 3; }));
    test::spin(50);
    EXPECT_EQ(m_opener.opened.size(), 2);
    EXPECT_TRUE(m_messages.errors.isEmpty());
}

TEST_F(NoticeOnShow, ASiteThatIsDownGivesTheStandardErrorBoxAndTheWindowStaysUsable) {
    auto login = showLogin(closedPort());
    ASSERT_TRUE(waitUntil([&] { return !m_messages.errors.isEmpty(); }));
    EXPECT_EQ(m_messages.errors, QStringList{QStringLiteral("Connection refused")});
    EXPECT_TRUE(m_messages.shown.isEmpty());
    EXPECT_TRUE(m_opener.opened.isEmpty());
    EXPECT_TRUE(login->isVisible());
    expectUsable(*login);
}

TEST_F(NoticeOnShow, ASilentSiteHoldsTheWindowOnlyUntilTheLimit) {
    test::ScriptedServer silent;
    // While the check waits, events still run: the window paints but takes no typing.
    bool ranDuringTheWait = false;
    bool enabledDuringTheWait = true;
    QString typedDuringTheWait;
    std::unique_ptr<TfrmLogin> login;
    // Looks once the check is under way, however long the window took to build
    // (a sanitizer build is slow).
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!login || silent.connections() != 1)
            return;
        probe.stop();
        ranDuringTheWait = m_messages.errors.isEmpty();
        enabledDuringTheWait = login->isEnabled();
        typeText(login->edID, QStringLiteral("x"));
        typedDuringTheWait = login->edID->text();
    });
    probe.start();
    login = showLogin(silent.port(), 600);
    ASSERT_TRUE(waitUntil([&] { return !m_messages.errors.isEmpty(); }));
    EXPECT_TRUE(ranDuringTheWait);
    EXPECT_FALSE(enabledDuringTheWait);
    EXPECT_EQ(typedDuringTheWait, QString());
    EXPECT_EQ(
        m_messages.errors,
        QStringList{QStringLiteral("http://127.0.0.1:%1/community/notice_check.asp: no answer within 0.6 s")
                        .arg(silent.port())});
    EXPECT_TRUE(m_opener.opened.isEmpty());
    expectUsable(*login);
}

TEST_F(NoticeOnShow, ClosingTheWindowWhileTheCheckWaitsEndsTheProgramWithoutAnErrorBox) {
    test::ScriptedServer silent;
    std::unique_ptr<TfrmLogin> login;
    const int exitCode = test::runUntilQuit([&] {
        login = showLogin(silent.port());
        QTimer::singleShot(100, [&] { login->close(); });
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(silent.connections(), 1);
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    EXPECT_TRUE(m_opener.opened.isEmpty());
}

} // namespace
} // namespace vantorel
