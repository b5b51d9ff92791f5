#include "app/Credentials.h"
#include "app/uLogin.h"
#include "members/MemberWindowFixture.h"
#include "members/uAddCus.h"
#include "members/uSearch.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScriptedServer.h"
#include "support/Typing.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <functional>

namespace vantorel {
namespace {

using test::commitText;
using test::pressKey;
using test::typeText;

const QString kSent =
    QStringLiteral("인증코드가 전송 되었습니다. 확인후 인증코드를 입력하여 인증확인을 완료 하세요.");
const QString kDevice = QStringLiteral("02:00:00:AA:BB:CC");

void erase(QLineEdit* edit, int count) {
    for (int i = 0; i < count; ++i)
        pressKey(edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
}

class SignUpWindow : public test::MemberWindowTest {
protected:
    std::unique_ptr<TfrmAddCus> openWindow() {
        auto w = std::make_unique<TfrmAddCus>(*m_context, m_db, m_deviceKey);
        w->show();
        return w;
    }

    // A form that passes every check, with the phone given.
    void fill(TfrmAddCus& w, const QString& phone) {
        commitText(w.edName, QStringLiteral("홍길동"));
        typeText(w.edID, QStringLiteral("member01"));
        click(w.Button5);
        typeText(w.edPWD, QStringLiteral("pw1234"));
        typeText(w.edMailAddr, QStringLiteral("member"));
        QTest::keyClick(w.cbMailTail, Qt::Key_Down);
        for (QRadioButton* agree : {w.rbRule1_1, w.rbRule2_1, w.rbRule3_1})
            click(agree);
        typeText(w.edMP, phone);
        m_messages.shown.clear();
    }

    // The code the gateway last passed on to a phone.
    QString lastCodeSent() {
        const auto accepted = m_gateway.accepted();
        return accepted.isEmpty() ? QString() : accepted.last()[QStringLiteral("text")].toString().right(6);
    }

    int authLogRows() { return int(m_server.sql(QStringLiteral("SELECT 1 FROM AuthLog")).size()); }

    test::FixedDeviceKey m_deviceKey;
};

TEST_F(SignUpWindow, OpensWithItsLayoutFiltersAndTabOrder) {
    auto w = openWindow();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("회원가입"));
    EXPECT_EQ(w->size(), QSize(475, 752));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w->bUse);
    EXPECT_FALSE(w->AuthGaBu);

    const std::pair<QLineEdit*, int> lengths[] = {{w->edName, 10},     {w->edID, 10}, {w->edPWD, 6},
                                                  {w->edMailAddr, 40}, {w->edMP, 11}, {w->edAuthCode, 6}};
    for (const auto& [edit, length] : lengths)
        EXPECT_EQ(edit->maxLength(), length);
    EXPECT_EQ(w->edPWD->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(w->edAuthCode->placeholderText(), QStringLiteral("123456"));
    EXPECT_TRUE(w->edMP->placeholderText().startsWith(QStringLiteral("010")));
    EXPECT_EQ(w->edMP->placeholderText().size(), 11);
    EXPECT_EQ(w->cbMailTail->count(), 4);
    EXPECT_EQ(w->cbMailTail->currentText(), QStringLiteral("기타"));
    for (QPlainTextEdit* text : {w->mmRule1, w->Memo3, w->Memo4}) {
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_GT(text->toPlainText().size(), 200);
    }
    for (QRadioButton* disagree : {w->rbRule1_2, w->rbRule2_2, w->rbRule3_2})
        EXPECT_TRUE(disagree->isChecked()) << disagree->text().toStdString();
    // The pairs are independent of each other.
    click(w->rbRule1_1);
    EXPECT_TRUE(w->rbRule1_1->isChecked());
    EXPECT_TRUE(w->rbRule2_2->isChecked());

    // The name takes Latin letters and Hangul syllables only.
    typeText(w->edName, QStringLiteral("Kim 1"));
    commitText(w->edName, QStringLiteral("홍ㄱ길"));
    EXPECT_EQ(w->edName->text(), QStringLiteral("Kim홍길"));
    typeText(w->edID, QStringLiteral("ab_c-9Z"));
    EXPECT_EQ(w->edID->text(), QStringLiteral("abc9Z"));
    typeText(w->edMP, QStringLiteral("010-12 34"));
    EXPECT_EQ(w->edMP->text(), QStringLiteral("0101234"));
    typeText(w->edMailAddr, QStringLiteral("a b@c"));
    commitText(w->edMailAddr, QStringLiteral("한"));
    EXPECT_EQ(w->edMailAddr->text(), QStringLiteral("ab@c"));

    const QList<QWidget*> order{w->edName,    w->edID,      w->edPWD,      w->edMailAddr, w->cbMailTail,
                                w->edMP,      w->Button2,   w->edAuthCode, w->Button3,    w->Button1,
                                w->mmRule1,   w->rbRule1_1, w->rbRule1_2,  w->Memo3,      w->rbRule2_1,
                                w->rbRule2_2, w->Memo4,     w->rbRule3_1,  w->rbRule3_2,  w->Button5};
    for (qsizetype i = 1; i < order.size(); ++i)
        EXPECT_EQ(test::nextTabStop(order[i - 1]), order[i]) << "after tab stop " << i - 1;
}

TEST_F(SignUpWindow, TheCodeRequestChecksRunInOrder) {
    addMember(QStringLiteral("taken1"), QStringLiteral("pw"), QStringLiteral("01099990000"),
              QStringLiteral("t@naver.com"));
    // A request from this device a minute ago.
    m_server.sql(
        QStringLiteral("INSERT INTO AuthLog (IPAddress, PhoneNumber, LastAuthTime) VALUES (?, ?, ?)"),
        {kDevice, QStringLiteral("01000000001"),
         m_clock.now().addSecs(-60).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    auto w = openWindow();
    QSignalSpy lookup(w.get(), &TfrmAddCus::lookupRequested);

    struct Step {
        const char* what;
        std::function<void()> act;
        QString message;
        QWidget* focus; // null: where it was
    };
    const Step steps[] = {
        {"empty form", [] {}, QStringLiteral("이름을 입력 하셔야 합니다.~~"), w->edName},
        // Too short and not checked: the length is what the member hears first.
        {"ID of four, not checked",
         [&] {
             commitText(w->edName, QStringLiteral("홍길동"));
             typeText(w->edID, QStringLiteral("memb"));
         },
         QStringLiteral("아이디는 5자리 이상을 입력하셔야 합니다."), w->edID},
        {"ID not yet checked", [&] { typeText(w->edID, QStringLiteral("er01")); },
         QStringLiteral("아이디 가능 여부를 확인 하셔야 합니다."), w->edID},
        {"ID of four, checked available",
         [&] {
             erase(w->edID, 4);
             click(w->Button5);
         },
         QStringLiteral("아이디는 5자리 이상을 입력하셔야 합니다."), w->edID},
        {"password of three",
         [&] {
             typeText(w->edID, QStringLiteral("er01"));
             typeText(w->edPWD, QStringLiteral("123"));
         },
         QStringLiteral("비밀번호는 4자리 이상을 입력하셔야 합니다."), w->edPWD},
        {"no mail address", [&] { typeText(w->edPWD, QStringLiteral("4")); },
         QStringLiteral("E-Mail 주소는 정확해야 합니다. 정확히 입력해 주세요."), w->edMailAddr},
        {"a full address and a domain",
         [&] {
             typeText(w->edMailAddr, QStringLiteral("me@x.org"));
             QTest::keyClick(w->cbMailTail, Qt::Key_Down);
         },
         QStringLiteral("E-Mail 주소는 정확해야 합니다. 정확히 입력해 주세요."), w->edMailAddr},
        {"two agreements of three",
         [&] {
             erase(w->edMailAddr, 6);
             click(w->rbRule1_1);
             click(w->rbRule2_1);
         },
         QStringLiteral("각 항에 동의를 하셔야 인증이 가능합니다."), nullptr},
        {"no phone", [&] { click(w->rbRule3_1); }, QStringLiteral("정확한 전화번호를 입력해 주세요."),
         w->edMP},
        {"ten digits", [&] { typeText(w->edMP, QStringLiteral("0101234567")); },
         QStringLiteral("정확한 전화번호를 입력해 주세요."), w->edMP},
        {"a request a minute ago", [&] { typeText(w->edMP, QStringLiteral("8")); },
         QStringLiteral("인증 요청은 5분에 한 번만 가능합니다."), nullptr},
        {"a registered phone",
         [&] {
             erase(w->edMP, 11);
             typeText(w->edMP, QStringLiteral("01099990000"));
         },
         QStringLiteral("이 전화번호는 이미 등록되어 있습니다. 회원 아이디 찾기로 이동해 주세요."), nullptr},
    };
    for (const Step& step : steps) {
        step.act();
        m_messages.shown.clear();
        click(w->Button2);
        EXPECT_EQ(m_messages.shown, QStringList{step.message}) << step.what;
        EXPECT_EQ(w->focusWidget(), step.focus ? step.focus : w->Button2) << step.what;
    }
    EXPECT_EQ(w->edMailAddr->text(), QStringLiteral("me"));
    EXPECT_EQ(w->DeviceID, kDevice);
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    // Nothing was sent or recorded, nothing locked; the registered phone sends
    // the member on to the ID lookup.
    EXPECT_TRUE(m_gateway.accepted().isEmpty());
    EXPECT_EQ(authLogRows(), 1);
    EXPECT_FALSE(w->edName->isReadOnly());
    EXPECT_EQ(lookup.size(), 1);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(SignUpWindow, TheAvailabilityCheckFollowsTheDatabasesComparison) {
    addMember(QStringLiteral("Member01"), QStringLiteral("pw"), QStringLiteral("01099990000"),
              QStringLiteral("t@naver.com"));
    auto w = openWindow();
    typeText(w->edID, QStringLiteral("member01"));
    click(w->Button5);
    EXPECT_EQ(m_messages.shown,
              QStringList{QStringLiteral("같은 아이디가 존재 합니다. 다른아이디를 넣으세요.")});
    EXPECT_FALSE(w->bUse);
    typeText(w->edID, QStringLiteral("x"));
    click(w->Button5);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("가입이 가능합니다.!"));
    EXPECT_TRUE(w->bUse);
    // The flag stays once set, whatever the ID becomes.
    erase(w->edID, 1);
    click(w->Button5);
    EXPECT_TRUE(w->bUse);
}

TEST_F(SignUpWindow, AVerifiedPhoneSignsTheMemberUpThroughTheLoginWindow) {
    test::RecordingUrlOpener urlOpener;
    TfrmLogin login(*m_context, urlOpener);
    login.N2->trigger();
    auto* w = dynamic_cast<TfrmAddCus*>(login.serviceWindows().back().get());
    ASSERT_NE(w, nullptr);
    login.hide();
    fill(*w, QStringLiteral("01012345678"));

    click(w->Button1);
    EXPECT_EQ(m_messages.shown.last(),
              QStringLiteral("인증을 하신후 가입이 가능합니다. 전화번호 인증을 해주세요."));

    click(w->Button2);
    EXPECT_EQ(m_messages.shown.last(), kSent);
    ASSERT_EQ(m_gateway.accepted().size(), 1);
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("to")].toString(), QStringLiteral("01012345678"));
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("text")].toString(),
              QStringLiteral("Your verification code is ") + w->GeneratedCode);
    EXPECT_EQ(w->focusWidget(), w->edAuthCode);
    // The five data fields are locked; the choices are not.
    for (QLineEdit* locked : {w->edMP, w->edName, w->edID, w->edPWD, w->edMailAddr})
        EXPECT_TRUE(locked->isReadOnly());
    typeText(w->edID, QStringLiteral("zz"));
    EXPECT_EQ(w->edID->text(), QStringLiteral("member01"));
    const auto logged = m_server.sql(QStringLiteral("SELECT IPAddress, PhoneNumber FROM AuthLog"));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0].value(QStringLiteral("IPAddress")).toString(), w->DeviceID);
    EXPECT_EQ(logged[0].value(QStringLiteral("PhoneNumber")).toString(), QStringLiteral("01012345678"));

    const QString code = lastCodeSent();
    click(w->Button3);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("인증 코드를 입력하세요."));
    typeText(w->edAuthCode, QString::number(code.toInt() == 999999 ? 100000 : code.toInt() + 1));
    click(w->Button3);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("인증 코드가 일치하지 않습니다."));
    EXPECT_FALSE(w->AuthGaBu);
    erase(w->edAuthCode, 6);
    typeText(w->edAuthCode, code);
    click(w->Button3);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("인증 성공! 가입 가능합니다. "));
    EXPECT_TRUE(w->AuthGaBu);

    // Withdrawing an agreement now does not stop the sign-up.
    click(w->rbRule2_2);
    click(w->Button1);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("가입이 완료되었습니다.!!~~"));
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(login.isVisible());

    const auto rows = m_server.sql(
        QStringLiteral("SELECT name, user_id, password, phone, status, note2, note3, note4 FROM Customer"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(QStringLiteral("name")).toString(), QStringLiteral("홍길동"));
    EXPECT_EQ(rows[0].value(QStringLiteral("user_id")).toString(), QStringLiteral("member01"));
    EXPECT_EQ(rows[0].value(QStringLiteral("password")).toString(), passwordDigest(QStringLiteral("pw1234")));
    EXPECT_EQ(rows[0].value(QStringLiteral("phone")).toString(), QStringLiteral("01012345678"));
    EXPECT_EQ(rows[0].value(QStringLiteral("status")).toString(), QStringLiteral("Active"));
    EXPECT_EQ(rows[0].value(QStringLiteral("note2")).toString(), QStringLiteral("member@naver.com"));
    EXPECT_EQ(rows[0].value(QStringLiteral("note3")).toString(), QString());
    EXPECT_FALSE(rows[0].value(QStringLiteral("note3")).isNull());
    EXPECT_EQ(rows[0].value(QStringLiteral("note4")).toString(), QString());
    EXPECT_EQ(checkCredentials(m_db, QStringLiteral("member01"), QStringLiteral("pw1234")).kind,
              LoginVerdict::Kind::Accepted);
}

TEST_F(SignUpWindow, ARegisteredPhoneOpensTheIdLookup) {
    addMember(QStringLiteral("taken1"), QStringLiteral("pw"), QStringLiteral("01099990000"),
              QStringLiteral("t@naver.com"));
    test::RecordingUrlOpener urlOpener;
    TfrmLogin login(*m_context, urlOpener);
    login.N2->trigger();
    auto* w = dynamic_cast<TfrmAddCus*>(login.serviceWindows().back().get());
    ASSERT_NE(w, nullptr);
    fill(*w, QStringLiteral("01099990000"));
    click(w->Button2);
    EXPECT_EQ(m_messages.shown,
              QStringList{
                  QStringLiteral("이 전화번호는 이미 등록되어 있습니다. 회원 아이디 찾기로 이동해 주세요.")});
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(login.serviceWindows().size(), 2u);
    auto* lookup = dynamic_cast<TfrmSearch*>(login.serviceWindows().back().get());
    ASSERT_NE(lookup, nullptr);
    EXPECT_TRUE(lookup->isVisible());
}

TEST_F(SignUpWindow, AFailedSmsStillLocksAndRecordsTheRequest) {
    m_context->config.sms.apiSecret[0] = m_context->config.sms.apiSecret[0] == u'A' ? u'B' : u'A';
    auto w = openWindow();
    fill(*w, QStringLiteral("01012345678"));
    click(w->Button2);
    ASSERT_EQ(m_messages.shown.size(), 1);
    // The window's prefix, then the error's own, then the gateway's body.
    EXPECT_TRUE(m_messages.shown[0].startsWith(QStringLiteral("SMS 전송 실패: SMS 전송 실패: {")))
        << m_messages.shown[0].toStdString();
    EXPECT_TRUE(m_messages.shown[0].contains(QStringLiteral("SignatureDoesNotMatch")));
    EXPECT_TRUE(w->edMP->isReadOnly());
    EXPECT_EQ(authLogRows(), 1);
    EXPECT_EQ(w->GeneratedCode.size(), 6);

    // A retry within five minutes is refused, even for another number; after
    // five minutes it goes ahead.
    m_clock.set(m_clock.now().addSecs(299));
    click(w->Button2);
    EXPECT_EQ(m_messages.shown.last(), QStringLiteral("인증 요청은 5분에 한 번만 가능합니다."));
    m_context->config.sms = m_gateway.config();
    m_clock.set(m_clock.now().addSecs(1));
    click(w->Button2);
    EXPECT_EQ(m_messages.shown.last(), kSent);
    EXPECT_EQ(lastCodeSent(), w->GeneratedCode);
}

TEST_F(SignUpWindow, WhileTheGatewayIsSilentTheWindowTakesNoSecondClick) {
    test::ScriptedServer silent;
    m_context->config.sms.url = QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(silent.port());
    m_context->config.sms.timeLimitMs = 500;
    auto w = openWindow();
    fill(*w, QStringLiteral("01012345678"));
    bool enabledWhileWaiting = true;
    QTimer::singleShot(150, [&] {
        enabledWhileWaiting = w->isEnabled();
        click(w->Button2);
        click(w->Button3);
    });
    click(w->Button2);
    EXPECT_FALSE(enabledWhileWaiting);
    EXPECT_EQ(m_messages.shown,
              QStringList{QStringLiteral("SMS 전송 실패: The SMS gateway did not answer within 0.5 s")});
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(silent.connections(), 1);
}

TEST_F(SignUpWindow, ADuplicateIdIsRefusedByTheDatabase) {
    auto w = openWindow();
    fill(*w, QStringLiteral("01012345678"));
    click(w->Button2);
    typeText(w->edAuthCode, lastCodeSent());
    click(w->Button3);
    ASSERT_TRUE(w->AuthGaBu);
    // Someone else took the ID, in another letter case, since it was checked.
    addMember(QStringLiteral("MEMBER01"), QStringLiteral("pw"), QStringLiteral("01077778888"),
              QStringLiteral("o@daum.net"));
    m_messages.shown.clear();
    click(w->Button1);
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(QStringLiteral("회원가입 실패:Duplicate entry")))
        << m_messages.shown[0].toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(m_server.sql(QStringLiteral("SELECT 1 FROM Customer")).size(), 1);
}

} // namespace
} // namespace vantorel
