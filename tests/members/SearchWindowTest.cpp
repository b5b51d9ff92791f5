#include "app/Credentials.h"
#include "members/MemberWindowFixture.h"
#include "members/uPwdChange.h"
#include "members/uSearch.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServer.h"
#include "support/Typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vantorel {
namespace {

using test::typeText;

const QString kSent = QStringLiteral(
    "임시 비밀번호가 전송되었습니다. 비밀번호로 로그인 하십시요. 그리고 비밀번호를 수정하세요.");
const QString kOncePerDay = QStringLiteral("임시 비밀번호는 하루에 한번만 전송 받을 수 있습니다.");
const QString kNoAccount =
    QStringLiteral("ID에 합당한 전화번호나 메일주소가 아닙니다. 확인 후 비밀번호를 수정해 주세요.");

class SearchWindow : public test::MemberWindowTest {
protected:
    std::unique_ptr<TfrmSearch> openWindow() {
        auto w = std::make_unique<TfrmSearch>(*m_context, m_db);
        w->show();
        return w;
    }

    void requestPassword(TfrmSearch& w, const QString& id, const QString& phone) {
        w.edUpID->clear();
        w.edUpMP->clear();
        typeText(w.edUpID, id);
        typeText(w.edUpMP, phone);
        click(w.Button2);
    }

    QString serverDate(int daysFromToday = 0) {
        return m_server
            .sql(QStringLiteral("SELECT DATE_FORMAT(CURDATE() + INTERVAL ? DAY, '%Y-%m-%d')"),
                 {daysFromToday})[0]
            .value(0)
            .toString();
    }

    QVariant note3(const QString& userId) {
        return m_server.sql(QStringLiteral("SELECT note3 FROM Customer WHERE user_id = ?"), {userId})[0]
            .value(0);
    }
};

TEST_F(SearchWindow, OpensWithItsLayoutAndTabOrder) {
    auto w = openWindow();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ID,Password 찾기"));
    EXPECT_EQ(w->size(), QSize(422, 540));
    EXPECT_EQ(w->edMP->maxLength(), 11);
    EXPECT_EQ(w->edMail->maxLength(), 40);
    EXPECT_EQ(w->edUpID->maxLength(), 10);
    EXPECT_EQ(w->edUpMP->maxLength(), 11);
    EXPECT_EQ(w->edMP->placeholderText(), QStringLiteral("01012345678"));
    EXPECT_EQ(w->edUpMP->placeholderText(), QStringLiteral("01012345678"));
    EXPECT_EQ(w->lbSerID->text(), QString());
    typeText(w->edUpID, QStringLiteral("a-b 1"));
    EXPECT_EQ(w->edUpID->text(), QStringLiteral("ab1"));
    typeText(w->edMail, QStringLiteral("a b@c.d"));
    EXPECT_EQ(w->edMail->text(), QStringLiteral("ab@c.d"));
    const QList<QWidget*> order{w->edMP, w->edMail, w->Button1, w->edUpID, w->edUpMP, w->Button2};
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_EQ(test::nextTabStop(order[i - 1]), order[i]) << "after tab stop " << i - 1;
}

TEST_F(SearchWindow, TheLookupShowsTheIdInTheLabel) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("pw"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"));
    // An account the admin entered without a mail address.
    addMember(QStringLiteral("nomail"), QStringLiteral("pw"), QStringLiteral("01033334444"),
              QStringLiteral(""));
    const QString notFound = QStringLiteral("전화번호나 메일주소를 정확히 입력해 주세요.");
    struct Case {
        const char* what;
        QString phone;
        QString mail;
        QString label;
    };
    const Case cases[] = {
        {"phone", QStringLiteral("01011112222"), QString(), QStringLiteral("당신의 ID는 'alpha1'입니다.")},
        {"mail", QString(), QStringLiteral("alpha@naver.com"), QStringLiteral("당신의 ID는 'alpha1'입니다.")},
        {"the other's phone", QStringLiteral("01033334444"), QString(),
         QStringLiteral("당신의 ID는 'nomail'입니다.")},
        {"both empty", QString(), QString(), notFound},
        {"unknown phone", QStringLiteral("01000000000"), QString(), notFound},
        {"mail in another case", QString(), QStringLiteral("ALPHA@naver.com"),
         QStringLiteral("당신의 ID는 'alpha1'입니다.")},
    };
    auto w = openWindow();
    for (const Case& c : cases) {
        w->edMP->clear();
        w->edMail->clear();
        typeText(w->edMP, c.phone);
        typeText(w->edMail, c.mail);
        click(w->Button1);
        EXPECT_EQ(w->lbSerID->text(), c.label) << c.what;
    }
    EXPECT_TRUE(m_messages.shown.isEmpty());
    EXPECT_TRUE(m_messages.errors.isEmpty());
}

TEST_F(SearchWindow, ATemporaryPasswordIsSentOnceAServerDay) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("old1"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"));
    auto w = openWindow();

    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011119999"));
    EXPECT_EQ(m_messages.shown.last(), kNoAccount);
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(QStringLiteral("old1")));

    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    EXPECT_EQ(m_messages.shown.last(), kSent);
    ASSERT_EQ(m_gateway.accepted().size(), 1);
    const QString text = m_gateway.accepted()[0][QStringLiteral("text")].toString();
    ASSERT_TRUE(text.startsWith(QStringLiteral("Your password is "))) << text.toStdString();
    const QString password = text.mid(17);
    EXPECT_EQ(password.size(), 6);
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("to")].toString(), QStringLiteral("01011112222"));
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(password));
    EXPECT_EQ(note3(QStringLiteral("alpha1")).toString(), serverDate());
    EXPECT_EQ(checkCredentials(m_db, QStringLiteral("alpha1"), password).kind, LoginVerdict::Kind::Accepted);

    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    EXPECT_EQ(m_messages.shown.last(), kOncePerDay);
    EXPECT_EQ(m_gateway.accepted().size(), 1);
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(password));
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
}

TEST_F(SearchWindow, TheDayIsTheServersDate) {
    struct Case {
        const char* what;
        QVariant note3;
        QString message;
    };
    const Case cases[] = {
        {"never requested", QStringLiteral(""), kSent},
        {"NULL", QVariant(QMetaType(QMetaType::QString)), kSent},
        {"yesterday on the server", serverDate(-1), kSent},
        {"tomorrow on the server", serverDate(1), kSent},
        {"today on the server", serverDate(), kOncePerDay},
    };
    auto w = openWindow();
    int n = 0;
    for (const Case& c : cases) {
        const QString id = QStringLiteral("user%1").arg(++n);
        const QString phone = QStringLiteral("0101234000%1").arg(n);
        addMember(id, QStringLiteral("old1"), phone, id + QStringLiteral("@naver.com"), c.note3);
        requestPassword(*w, id, phone);
        EXPECT_EQ(m_messages.shown.last(), c.message) << c.what;
        EXPECT_EQ(note3(id).toString(), c.message == kSent ? serverDate() : c.note3.toString()) << c.what;
    }
}

TEST_F(SearchWindow, AFailedSmsKeepsTheOldPasswordAndTheDay) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("old1"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"), serverDate(-1));
    m_context->config.sms.apiKey = QStringLiteral("WRONGKEY00000000");
    auto w = openWindow();
    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(QStringLiteral("SMS 전송 실패: SMS 전송 실패: {")))
        << m_messages.shown[0].toStdString();
    EXPECT_TRUE(m_messages.shown[0].contains(QStringLiteral("InvalidAPIKey")));
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(QStringLiteral("old1")));
    EXPECT_EQ(note3(QStringLiteral("alpha1")).toString(), serverDate(-1));
    EXPECT_EQ(checkCredentials(m_db, QStringLiteral("alpha1"), QStringLiteral("old1")).kind,
              LoginVerdict::Kind::Accepted);

    // The same day, with the gateway working again, the member gets one.
    m_context->config.sms = m_gateway.config();
    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    EXPECT_EQ(m_messages.shown.last(), kSent);
    EXPECT_EQ(m_gateway.accepted().size(), 1);
    EXPECT_EQ(note3(QStringLiteral("alpha1")).toString(), serverDate());
}

TEST_F(SearchWindow, WhatOtherWindowsStoreWhileTheSmsWaitsIsKept) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("old1"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"));
    addMember(QStringLiteral("beta22"), QStringLiteral("old2"), QStringLiteral("01033334444"),
              QStringLiteral("beta@naver.com"));
    test::ScriptedServer silent;
    m_context->config.sms.url = QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(silent.port());
    m_context->config.sms.timeLimitMs = 600;
    auto w = openWindow();
    TfrmPWDChange other(*m_context, m_db);
    other.show();
    bool changedMeanwhile = false;
    QTimer::singleShot(200, [&] {
        typeText(other.edID, QStringLiteral("beta22"));
        typeText(other.edPrePwd, QStringLiteral("old2"));
        typeText(other.edNowPwd, QStringLiteral("new2"));
        click(other.Button1);
        changedMeanwhile = m_messages.shown.contains(QStringLiteral("Password updated successfully!"));
    });
    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    EXPECT_TRUE(changedMeanwhile);
    EXPECT_EQ(m_messages.shown.last(),
              QStringLiteral("SMS 전송 실패: The SMS gateway did not answer within 0.6 s"));
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(QStringLiteral("old1")));
    EXPECT_EQ(note3(QStringLiteral("alpha1")).toString(), QString());
    EXPECT_EQ(storedPassword(QStringLiteral("beta22")), passwordDigest(QStringLiteral("new2")));
}

TEST_F(SearchWindow, ChangingTheSameAccountWhileTheSmsWaitsIsRefusedBriefly) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("old1"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"));
    test::ScriptedServer silent;
    m_context->config.sms.url = QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(silent.port());
    // Well beyond the database's lock wait: the change must be decided while the
    // SMS still waits, with the window thread free again.
    m_context->config.sms.timeLimitMs = 6000;
    auto w = openWindow();
    TfrmPWDChange other(*m_context, m_db);
    other.show();
    QStringList shownWhileWaiting;
    QTimer::singleShot(200, [&] {
        typeText(other.edID, QStringLiteral("alpha1"));
        typeText(other.edPrePwd, QStringLiteral("old1"));
        typeText(other.edNowPwd, QStringLiteral("new1"));
        click(other.Button1);
        shownWhileWaiting = m_messages.shown;
    });
    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    ASSERT_EQ(shownWhileWaiting.size(), 1) << shownWhileWaiting.join(u'\n').toStdString();
    EXPECT_TRUE(shownWhileWaiting[0].startsWith(QStringLiteral("Error updating password: Lock wait timeout")))
        << shownWhileWaiting[0].toStdString();
    EXPECT_EQ(m_messages.shown.last(),
              QStringLiteral("SMS 전송 실패: The SMS gateway did not answer within 6 s"));
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(QStringLiteral("old1")));
    EXPECT_EQ(note3(QStringLiteral("alpha1")).toString(), QString());

    // Once the request has given up, the member's change goes through.
    click(other.Button1);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("Password updated successfully!"));
    EXPECT_EQ(storedPassword(QStringLiteral("alpha1")), passwordDigest(QStringLiteral("new1")));
}

TEST_F(SearchWindow, ARequestForAnAccountBeingServedFailsAtOnce) {
    addMember(QStringLiteral("alpha1"), QStringLiteral("old1"), QStringLiteral("01011112222"),
              QStringLiteral("alpha@naver.com"));
    // Another request for the account is waiting for its SMS.
    m_server.sql(QStringLiteral("SET autocommit = 0"));
    m_server.sql(QStringLiteral("SELECT note3 FROM Customer WHERE user_id = 'alpha1' FOR UPDATE"));
    auto w = openWindow();
    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    m_server.sql(QStringLiteral("ROLLBACK"));
    m_server.sql(QStringLiteral("SET autocommit = 1"));
    ASSERT_EQ(m_messages.errors.size(), 1);
    EXPECT_TRUE(m_messages.errors[0].startsWith(QStringLiteral("Lock wait timeout exceeded")))
        << m_messages.errors[0].toStdString();
    EXPECT_TRUE(m_messages.shown.isEmpty());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(m_gateway.accepted().isEmpty());

    requestPassword(*w, QStringLiteral("alpha1"), QStringLiteral("01011112222"));
    EXPECT_EQ(m_messages.shown, QStringList{kSent});
}

} // namespace
} // namespace vantorel
