#include "members/uSearch.h"

#include "common/Guard.h"
#include "common/WindowStyle.h"
#include "members/AccountRecovery.h"
#include "members/MemberForm.h"
#include "members/SmsGateway.h"
#include "members/WindowBusy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantorel {

namespace {

constexpr int kLeft = 30;
constexpr int kFieldX = 110;

} // namespace

TfrmSearch::TfrmSearch(AppContext& context, CustomerDb& db, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_db(db) {
    setWindowTitle(QStringLiteral("ID,Password 찾기"));

    addTitle(this, QStringLiteral("아이디 찾기"), kLeft, 20);
    edMP = addField(this, QStringLiteral("전화번호"), kLeft, 72, kFieldX, 180, 11, AllowOnlyDigits);
    edMP->setPlaceholderText(QStringLiteral("01012345678"));
    edMail = addField(this, QStringLiteral("EMail"), kLeft, 106, kFieldX, 260, 40, BlockKoreanInput);
    edMail->setPlaceholderText(QStringLiteral("member@naver.com"));
    addNote(this, QStringLiteral("전화 번호 , EMail 둘중 하나만 입력하시면 됩니다."), kLeft, 140);
    Button1 = new QPushButton(QStringLiteral("ID 찾기"), this);
    Button1->setGeometry(kFieldX, 166, 120, 32);
    Button1->setAutoDefault(false);
    lbSerID = addTitle(this, QString(), kLeft, 214);
    lbSerID->setGeometry(kLeft, 214, 370, 40);

    addTitle(this, QStringLiteral("임시비밀번호받기"), kLeft, 300);
    edUpID = addField(this, QStringLiteral("ID"), kLeft, 352, kFieldX, 180, 10, AllowOnlyEnglishAndNumbers);
    edUpMP = addField(this, QStringLiteral("전화번호"), kLeft, 386, kFieldX, 180, 11, AllowOnlyDigits);
    edUpMP->setPlaceholderText(QStringLiteral("01012345678"));
    addNote(this, QStringLiteral("ID,전화 번호 필수입니다."), kLeft, 420);
    Button2 = new QPushButton(QStringLiteral("비밀번호 받기"), this);
    Button2->setGeometry(kFieldX, 446, 120, 32);
    Button2->setAutoDefault(false);

    setTabOrder(edMP, edMail);
    setTabOrder(edMail, Button1);
    setTabOrder(Button1, edUpID);
    setTabOrder(edUpID, edUpMP);
    setTabOrder(edUpMP, Button2);

    makeFixedWindow(this, 422, 540);

    connectGuarded(Button1, &QPushButton::clicked, this, m_ctx.messages, &TfrmSearch::Button1Click);
    connectGuarded(Button2, &QPushButton::clicked, this, m_ctx.messages, &TfrmSearch::Button2Click);
}

void TfrmSearch::Button1Click() {
    const QString id = GetUserIDByPhoneOrMailAddr(m_db, edMP->text(), edMail->text());
    if (id.trimmed().isEmpty())
        lbSerID->setText(QStringLiteral("전화번호나 메일주소를 정확히 입력해 주세요."));
    else
        lbSerID->setText(QStringLiteral("당신의 ID는 '") + id + QStringLiteral("'입니다."));
}

void TfrmSearch::Button2Click() {
    UpdatePasswordAndNotify(edUpID->text(), edUpMP->text());
}

void TfrmSearch::UpdatePasswordAndNotify(const QString& UserID, const QString& Phone) {
    TemporaryPasswordOutcome outcome;
    {
        WindowBusy busy(this);
        outcome = issueTemporaryPassword(m_db, UserID, Phone, [&](const QString& password) {
            SendSMS(m_ctx.config.sms, m_ctx.clock, edUpMP->text(), password,
                    QStringLiteral("Your password is "));
        });
    }
    switch (outcome.kind) {
    case TemporaryPasswordOutcome::Kind::NoSuchAccount:
        m_ctx.messages.show(
            QStringLiteral("ID에 합당한 전화번호나 메일주소가 아닙니다. 확인 후 비밀번호를 수정해 주세요."));
        return;
    case TemporaryPasswordOutcome::Kind::AlreadyToday:
        m_ctx.messages.show(QStringLiteral("임시 비밀번호는 하루에 한번만 전송 받을 수 있습니다."));
        return;
    case TemporaryPasswordOutcome::Kind::Sent:
        m_ctx.messages.show(QStringLiteral(
            "임시 비밀번호가 전송되었습니다. 비밀번호로 로그인 하십시요. 그리고 비밀번호를 수정하세요."));
        return;
    case TemporaryPasswordOutcome::Kind::SmsFailed:
        m_ctx.messages.show(QStringLiteral("SMS 전송 실패: ") + outcome.smsError);
        return;
    }
}

} // namespace vantorel
