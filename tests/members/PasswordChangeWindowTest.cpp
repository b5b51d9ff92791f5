#include "app/Credentials.h"
#include "members/MemberWindowFixture.h"
#include "members/uPwdChange.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServer.h"
#include "support/Typing.h"

#include <QLineEdit>
#include <QPushButton>

namespace vantorel {
namespace {

using test::typeText;

const QString kInvalid = QStringLiteral("Invalid ID or Password.");
const QString kUpdated = QStringLiteral("Password updated successfully!");

class PasswordChangeWindow : public test::MemberWindowTest {
protected:
    void SetUp() override {
        MemberWindowTest::SetUp();
        addMember(QStringLiteral("Member1"), QStringLiteral("123456"), QStringLiteral("01011112222"),
                  QStringLiteral("m@naver.com"));
    }

    // Opens a window, types the three fields and presses "적용"; the messages shown.
    QStringList change(CustomerDb& db, const QString& id, const QString& oldPassword,
                       const QString& newPassword, bool* closed = nullptr) {
        TfrmPWDChange w(*m_context, db);
        w.show();
        typeText(w.edID, id);
        typeText(w.edPrePwd, oldPassword);
        typeText(w.edNowPwd, newPassword);
        m_messages.shown.clear();
        click(w.Button1);
        if (closed)
            *closed = !w.isVisible();
        return m_messages.shown;
    }

    bool signsIn(const QString& password) {
        return checkCredentials(m_db, QStringLiteral("Member1"), password).kind ==
               LoginVerdict::Kind::Accepted;
    }
};

TEST_F(PasswordChangeWindow, OpensWithItsLayoutAndTabOrder) {
    TfrmPWDChange w(*m_context, m_db);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("비밀번호 변경"));
    EXPECT_EQ(w.size(), QSize(295, 226));
    EXPECT_EQ(w.edID->maxLength(), 10);
    EXPECT_EQ(w.edPrePwd->maxLength(), 6);
    EXPECT_EQ(w.edNowPwd->maxLength(), 6);
    EXPECT_EQ(w.edPrePwd->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(w.Button1->text(), QStringLiteral("적용"));
    typeText(w.edNowPwd, QStringLiteral("a b-1"));
    EXPECT_EQ(w.edNowPwd->text(), QStringLiteral("ab1"));
    EXPECT_EQ(test::nextTabStop(w.edID), w.edPrePwd);
    EXPECT_EQ(test::nextTabStop(w.edPrePwd), w.edNowPwd);
    EXPECT_EQ(test::nextTabStop(w.edNowPwd), w.Button1);
}

TEST_F(PasswordChangeWindow, RefusesAWrongPairAndChangesNothing) {
    struct Case {
        const char* what;
        QString id;
        QString oldPassword;
    };
    const Case cases[] = {
        {"wrong current password", QStringLiteral("Member1"), QStringLiteral("654321")},
        {"unknown ID", QStringLiteral("Nobody1"), QStringLiteral("123456")},
        {"empty fields", QString(), QString()},
    };
    for (const Case& c : cases) {
        bool closed = true;
        EXPECT_EQ(change(m_db, c.id, c.oldPassword, QStringLiteral("new1"), &closed), QStringList{kInvalid})
            << c.what;
        EXPECT_FALSE(closed) << c.what;
    }
    EXPECT_TRUE(signsIn(QStringLiteral("123456")));
}

TEST_F(PasswordChangeWindow, ChangesThePasswordWithoutTestingTheNewOne) {
    struct Case {
        const char* what;
        QString id;
        QString oldPassword;
        QString newPassword;
    };
    const Case cases[] = {
        {"the same password", QStringLiteral("Member1"), QStringLiteral("123456"), QStringLiteral("123456")},
        // The database's ordinary comparison ignores the letter case.
        {"ID in another case", QStringLiteral("mEMBER1"), QStringLiteral("123456"), QStringLiteral("abc9")},
        {"empty new password", QStringLiteral("Member1"), QStringLiteral("abc9"), QString()},
        {"back from empty", QStringLiteral("Member1"), QString(), QStringLiteral("x")},
    };
    for (const Case& c : cases) {
        bool closed = false;
        EXPECT_EQ(change(m_db, c.id, c.oldPassword, c.newPassword, &closed), QStringList{kUpdated}) << c.what;
        EXPECT_TRUE(closed) << c.what;
        EXPECT_TRUE(signsIn(c.newPassword)) << c.what;
        if (c.newPassword != c.oldPassword) {
            EXPECT_FALSE(signsIn(c.oldPassword)) << c.what;
        }
    }
    EXPECT_EQ(m_server.sql(QStringLiteral("SELECT 1 FROM Customer WHERE user_id = 'Member1'")).size(), 1);
}

TEST_F(PasswordChangeWindow, ADatabaseErrorIsShownAndTheWindowStays) {
    test::ScriptedServer closed;
    const quint16 port = closed.port();
    closed.close();
    CustomerDb unreachable;
    unreachable.configure(m_server.settingsForPort(port));
    bool wasClosed = true;
    const QStringList shown = change(unreachable, QStringLiteral("Member1"), QStringLiteral("123456"),
                                     QStringLiteral("x"), &wasClosed);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Error updating password: Can't connect")))
        << shown[0].toStdString();
    EXPECT_FALSE(wasClosed);
    EXPECT_TRUE(signsIn(QStringLiteral("123456")));
}

} // namespace
} // namespace vantorel
