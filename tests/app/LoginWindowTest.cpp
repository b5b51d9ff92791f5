#include "app/uLogin.h"
#include "common/ProfileIni.h"
#include "comparison/Unit1.h"
#include "help/uManual.h"
#include "members/uAddCus.h"
#include "members/uPwdChange.h"
#include "members/uSearch.h"
#include "snapshots/uClient.h"
#include "snapshots/uFileManager.h"
#include "support/EventLoop.h"
#include "support/MemberDb.h"
#include "support/RecordingMessages.h"
#include "support/RecordingUrlOpener.h"
#include "support/Typing.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace vantorel {
namespace {

using test::commitText;
using test::pressKey;
using test::runUntilQuit;
using test::typeText;

const QString kWrongCredentials = QStringLiteral("로그인 실패: 아이디 또는 비밀번호가 올바르지 않습니다.");

QWidget* nextTabStop(QWidget* from) {
    QWidget* w = from->nextInFocusChain();
    while (w != from && !(w->focusPolicy() & Qt::TabFocus))
        w = w->nextInFocusChain();
    return w;
}

class LoginWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_server.clear();
        m_server.addCustomer(QStringLiteral("Member1"), QStringLiteral("pw12"));
        m_server.addCustomer(QStringLiteral("sleepy"), QStringLiteral("pw12"), QStringLiteral("active"));
    }

    std::unique_ptr<TfrmLogin> openLogin(const QStringList& settings) {
        m_context =
            std::make_unique<AppContext>(AppContext{m_messages, m_clock, ProgramFolder(m_folder.path()),
                                                    Config{settings, QStringLiteral("127.0.0.1"), 1}});
        auto login = std::make_unique<TfrmLogin>(*m_context, m_urlOpener);
        login->show();
        return login;
    }
    std::unique_ptr<TfrmLogin> openLogin() { return openLogin(m_server.appSettings()); }

    static void signIn(TfrmLogin& login, const QString& id, const QString& password) {
        login.edID->setText(id);
        login.edPWD->setText(password);
        login.Button1->click();
    }

    QString savedId() const {
        return readProfileString(ProgramFolder(m_folder.path()).settingsFile(),
                                 QStringLiteral("UserSettings"), QStringLiteral("UserID"),
                                 QStringLiteral("<none>"));
    }

    static void expectSignedIn(const TfrmLogin& login) {
        ASSERT_NE(login.frmMain(), nullptr);
        EXPECT_TRUE(login.frmMain()->isVisible());
        EXPECT_EQ(login.frmMain()->windowTitle(), QStringLiteral("Morwick Corp. Data"));
        ASSERT_NE(login.frmReceive(), nullptr);
        EXPECT_FALSE(login.frmReceive()->isVisible());
        EXPECT_EQ(login.frmReceive()->windowTitle(), QStringLiteral("수신용"));
        ASSERT_NE(login.frmFileManager(), nullptr);
        EXPECT_FALSE(login.frmFileManager()->isVisible());
        EXPECT_EQ(login.frmFileManager()->windowTitle(), QStringLiteral("파일다운및 관리화면"));
        EXPECT_FALSE(login.isVisible());
    }

    static void expectSignedOut(const TfrmLogin& login) {
        EXPECT_EQ(login.frmMain(), nullptr);
        EXPECT_TRUE(login.isVisible());
    }

    test::MemberDb m_server;
    test::RecordingMessages m_messages;
    test::RecordingUrlOpener m_urlOpener;
    SystemClock m_clock;
    QTemporaryDir m_folder;
    std::unique_ptr<AppContext> m_context;
};

TEST_F(LoginWindow, OpensWithItsLayout) {
    auto login = openLogin();
    EXPECT_EQ(login->windowTitle(), QStringLiteral("Morwick Corp."));
    EXPECT_EQ(login->centralWidget()->size(), QSize(240, 197));
    EXPECT_FALSE(login->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(login->edID->maxLength(), 10);
    EXPECT_EQ(login->edPWD->maxLength(), 6);
    EXPECT_EQ(login->edPWD->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(login->ckbID->isChecked());
    EXPECT_EQ(login->ckbID->text(), QStringLiteral("아이디 저장하기"));
    EXPECT_EQ(login->Button1->text(), QStringLiteral("로그인"));
    EXPECT_EQ(login->N2->text(), QStringLiteral("회원가입"));
    EXPECT_EQ(login->N3->text(), QStringLiteral("ID,비밀번호 찾기"));
    EXPECT_EQ(login->N4->text(), QStringLiteral("비밀번호 변경"));
    EXPECT_EQ(login->N6->text(), QStringLiteral("설명서"));
    EXPECT_EQ(nextTabStop(login->edID), login->edPWD);
    EXPECT_EQ(nextTabStop(login->edPWD), login->ckbID);
    EXPECT_EQ(nextTabStop(login->ckbID), login->Button1);
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    EXPECT_TRUE(login->database().isOpen());
}

TEST_F(LoginWindow, RightCredentialsOpenTheWorkWindowsAndSaveTheId) {
    auto login = openLogin();
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("pw12"));
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'\n').toStdString();
    expectSignedIn(*login);
    EXPECT_EQ(savedId(), QStringLiteral("Member1"));

    // The next start finds the ID in place.
    auto again = openLogin();
    EXPECT_EQ(again->edID->text(), QStringLiteral("Member1"));
    EXPECT_TRUE(again->ckbID->isChecked());

    // At the end the windows that use the transfer window go before it.
    QStringList destroyed;
    for (QWidget* w : {static_cast<QWidget*>(login->frmMain()), static_cast<QWidget*>(login->frmReceive()),
                       static_cast<QWidget*>(login->frmFileManager())}) {
        const QString title = w->windowTitle();
        QObject::connect(w, &QObject::destroyed, [&destroyed, title] { destroyed << title; });
    }
    login.reset();
    EXPECT_EQ(destroyed.last(), QStringLiteral("수신용"));
}

TEST_F(LoginWindow, RefusedLoginsSayWhyAndChangeNothing) {
    struct Case {
        const char* what;
        QString id;
        QString password;
        QString message;
    };
    const Case cases[] = {
        {"wrong password", QStringLiteral("Member1"), QStringLiteral("pw13"), kWrongCredentials},
        {"ID in another case", QStringLiteral("member1"), QStringLiteral("pw12"), kWrongCredentials},
        {"trailing blank", QStringLiteral("Member1 "), QStringLiteral("pw12"), kWrongCredentials},
        {"empty fields", QString(), QString(), kWrongCredentials},
        {"status not Active", QStringLiteral("sleepy"), QStringLiteral("pw12"),
         QStringLiteral("로그인 실패: 계정 상태가 \"active\"입니다.")},
    };
    auto login = openLogin();
    for (const Case& c : cases) {
        m_messages.shown.clear();
        signIn(*login, c.id, c.password);
        EXPECT_EQ(m_messages.shown, QStringList{c.message}) << c.what;
        expectSignedOut(*login);
    }
}

TEST_F(LoginWindow, TheSaveBoxDecidesWhetherEvenAFailedLoginKeepsTheId) {
    {
        // settings.ini without UserID: the field starts empty, the box checked.
        QFile ini(ProgramFolder(m_folder.path()).settingsFile());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[UserSettings]\r\nOther=1\r\n");
    }
    auto login = openLogin();
    EXPECT_EQ(login->edID->text(), QString());
    EXPECT_TRUE(login->ckbID->isChecked());

    signIn(*login, QStringLiteral("a,b=\"c\";"), QStringLiteral("nope"));
    EXPECT_EQ(m_messages.shown, QStringList{kWrongCredentials});
    EXPECT_EQ(savedId(), QStringLiteral("a,b=\"c\";"));

    login->ckbID->setChecked(false);
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("nope"));
    EXPECT_EQ(savedId(), QStringLiteral("<none>"));

    auto again = openLogin();
    EXPECT_EQ(again->edID->text(), QString());
    EXPECT_TRUE(again->ckbID->isChecked());
}

TEST_F(LoginWindow, AnUnwritableSettingsFileStopsTheLoginWithTheStandardErrorBox) {
    // The program folder is a file: settings.ini cannot be created inside it.
    QFile blocker(QDir(m_folder.path()).filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_context = std::make_unique<AppContext>(
        AppContext{m_messages, m_clock, ProgramFolder(blocker.fileName()),
                   Config{m_server.appSettings(), QStringLiteral("127.0.0.1"), 1}});
    TfrmLogin login(*m_context, m_urlOpener);
    login.show();
    signIn(login, QStringLiteral("Member1"), QStringLiteral("pw12"));
    ASSERT_EQ(m_messages.errors.size(), 1);
    EXPECT_TRUE(m_messages.errors[0].startsWith(QStringLiteral("Unable to write to ")))
        << m_messages.errors[0].toStdString();
    EXPECT_TRUE(m_messages.shown.isEmpty());
    expectSignedOut(login);

    // Without the box the ID is not written, and the login goes ahead.
    login.ckbID->setChecked(false);
    login.Button1->click();
    expectSignedIn(login);
}

TEST_F(LoginWindow, ASettingsFileThatCannotBeReadIsLeftAloneAndTheLoginGoesAhead) {
    // A folder where the file should be: it exists and cannot be read.
    ASSERT_TRUE(QDir().mkpath(ProgramFolder(m_folder.path()).settingsFile()));
    auto login = openLogin();
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("pw12"));
    ASSERT_EQ(m_messages.errors.size(), 1);
    EXPECT_TRUE(m_messages.errors[0].startsWith(QStringLiteral("Unable to write to ")));
    expectSignedOut(*login);

    login->ckbID->setChecked(false);
    login->Button1->click();
    EXPECT_EQ(m_messages.errors.size(), 1);
    expectSignedIn(*login);
    EXPECT_TRUE(QFileInfo(ProgramFolder(m_folder.path()).settingsFile()).isDir());
}

TEST_F(LoginWindow, StartsWithoutTheServerAndSignsInOnceItIsUp) {
    writeProfileString(ProgramFolder(m_folder.path()).settingsFile(), QStringLiteral("UserSettings"),
                       QStringLiteral("UserID"), QStringLiteral("Member1"));
    m_server.stop();
    auto login = openLogin();
    ASSERT_EQ(m_messages.errors.size(), 1);
    EXPECT_TRUE(m_messages.errors[0].contains(QStringLiteral("Can't connect")))
        << m_messages.errors[0].toStdString();
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->edID->text(), QStringLiteral("Member1"));

    login->edPWD->setText(QStringLiteral("pw12"));
    login->Button1->click();
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(QStringLiteral("오류 발생: Can't connect")))
        << m_messages.shown[0].toStdString();
    expectSignedOut(*login);

    m_server.start();
    login->Button1->click();
    EXPECT_EQ(m_messages.shown.size(), 1);
    expectSignedIn(*login);
}

TEST_F(LoginWindow, SurvivesAServerRestartBetweenTwoLogins) {
    auto login = openLogin();
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("bad"));
    EXPECT_EQ(m_messages.shown, QStringList{kWrongCredentials});
    m_server.stop();
    m_server.start();
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("pw12"));
    EXPECT_EQ(m_messages.shown, QStringList{kWrongCredentials});
    expectSignedIn(*login);
}

TEST_F(LoginWindow, EnterInThePasswordFieldSignsInButNotInTheIdField) {
    auto login = openLogin();
    login->edID->setText(QStringLiteral("Member1"));
    login->edPWD->setText(QStringLiteral("pw12"));
    pressKey(login->edID, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    expectSignedOut(*login);
    pressKey(login->edPWD, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    expectSignedIn(*login);
}

TEST_F(LoginWindow, FieldsTakeLatin1OnlyAndPastedInjectionSignsNobodyIn) {
    auto login = openLogin();
    typeText(login->edID, QStringLiteral("Mé b"));
    commitText(login->edID, QStringLiteral("한글"));
    pressKey(login->edID, 0, Qt::NoModifier, QStringLiteral("가"));
    EXPECT_EQ(login->edID->text(), QStringLiteral("Mé b"));
    typeText(login->edPWD, QStringLiteral("1234567"));
    EXPECT_EQ(login->edPWD->text(), QStringLiteral("123456"));

    login->edID->clear();
    QApplication::clipboard()->setText(QStringLiteral("' OR ''='"));
    login->edID->paste();
    EXPECT_EQ(login->edID->text(), QStringLiteral("' OR ''='"));
    login->edPWD->clear();
    login->edPWD->paste();
    EXPECT_EQ(login->edPWD->text(), QStringLiteral("' OR '"));
    login->Button1->click();
    EXPECT_EQ(m_messages.shown, QStringList{kWrongCredentials});
    expectSignedOut(*login);
}

TEST_F(LoginWindow, MenuItemsOpenANewWindowEachTime) {
    auto login = openLogin();
    login->N2->trigger();
    login->N2->trigger();
    login->N3->trigger();
    login->N4->trigger();
    login->N6->trigger();
    const auto& windows = login->serviceWindows();
    ASSERT_EQ(windows.size(), 5u);
    EXPECT_NE(dynamic_cast<TfrmAddCus*>(windows[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<TfrmAddCus*>(windows[1].get()), nullptr);
    EXPECT_NE(windows[0].get(), windows[1].get());
    EXPECT_NE(dynamic_cast<TfrmSearch*>(windows[2].get()), nullptr);
    EXPECT_NE(dynamic_cast<TfrmPWDChange*>(windows[3].get()), nullptr);
    EXPECT_NE(dynamic_cast<TfrmManual*>(windows[4].get()), nullptr);
    for (const auto& w : windows)
        EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(login->isVisible());

    // Closing one only hides it.
    windows[0]->close();
    EXPECT_FALSE(windows[0]->isVisible());
    EXPECT_EQ(login->serviceWindows().size(), 5u);
}

TEST_F(LoginWindow, ClosingTheLoginWindowBeforeSignInEndsTheProgram) {
    auto login = openLogin();
    login->N2->trigger(); // an open member window does not keep the program alive
    EXPECT_EQ(runUntilQuit([&] { login->close(); }), 0);
}

TEST_F(LoginWindow, ClosingTheMainWindowEndsTheProgram) {
    auto login = openLogin();
    signIn(*login, QStringLiteral("Member1"), QStringLiteral("pw12"));
    expectSignedIn(*login);
    EXPECT_EQ(runUntilQuit([&] { login->frmMain()->close(); }), 0);
}

} // namespace
} // namespace vantorel
