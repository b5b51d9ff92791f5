#include "members/uAddCus.h"

#include "app/CustomerDb.h"
#include "common/Error.h"
#include "common/Guard.h"
#include "common/WindowStyle.h"
#include "members/DeviceKey.h"
#include "members/MemberForm.h"
#include "members/SignUp.h"
#include "members/SmsGateway.h"
#include "members/WindowBusy.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vantorel {

namespace {

constexpr int kLeft = 20;
constexpr int kFieldX = 100;

// One of the agreement texts kept among the program's resources; a member who
// cannot read one is told so rather than shown an empty box to agree to.
QString agreement(const char* name) {
    QFile file(QStringLiteral(":/members/agreements/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("약관 내용을 불러오지 못했습니다 (%1: %2). 프로그램을 다시 설치하거나 "
                              "고객센터에 문의해 주십시오.")
            .arg(file.fileName(), file.errorString());
    return QString::fromUtf8(file.readAll());
}

// A read-only agreement text and its "동의"/"비동의" pair, "비동의" chosen.
QPlainTextEdit* addAgreement(QWidget* parent, const char* name, int y, QRadioButton*& agree,
                             QRadioButton*& disagree) {
    auto* text = new QPlainTextEdit(agreement(name), parent);
    text->setGeometry(kLeft, y, 435, 88);
    text->setReadOnly(true);
    text->setTabChangesFocus(true);
    agree = new QRadioButton(QStringLiteral("동의"), parent);
    agree->setGeometry(300, y + 92, 64, 22);
    disagree = new QRadioButton(QStringLiteral("비동의"), parent);
    disagree->setGeometry(370, y + 92, 80, 22);
    auto* pair = new QButtonGroup(parent);
    pair->addButton(agree);
    pair->addButton(disagree);
    disagree->setChecked(true);
    return text;
}

QPushButton* addButton(QWidget* parent, const QString& text, int x, int y, int width, int height = 25) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(x, y, width, height);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmAddCus::TfrmAddCus(AppContext& context, CustomerDb& db, const DeviceKey& deviceKey, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_db(db)
    , m_deviceKey(deviceKey) {
    setWindowTitle(QStringLiteral("회원가입"));

    addTitle(this, QStringLiteral("회원가입"), 190, 10);
    edName = addField(this, QStringLiteral("이름"), kLeft, 56, kFieldX, 150, 10, AllowOnlyLettersAndHangul);
    addNote(this, QStringLiteral("* 아이디와 비밀번호는 영문과 숫자만 가능합니다."), kLeft, 88);

    edID = addField(this, QStringLiteral("ID"), kLeft, 110, kFieldX, 150, 10, AllowOnlyEnglishAndNumbers);
    (new QLabel(QStringLiteral("최대 10"), this))->setGeometry(258, 110, 60, 25);
    Button5 = addButton(this, QStringLiteral("가능확인"), 330, 110, 90);

    edPWD =
        addField(this, QStringLiteral("PassWord"), kLeft, 142, kFieldX, 150, 6, AllowOnlyEnglishAndNumbers);
    (new QLabel(QStringLiteral("최대  6"), this))->setGeometry(258, 142, 60, 25);

    edMailAddr = addField(this, QStringLiteral("메일주소"), kLeft, 174, kFieldX, 170, 40, BlockKoreanInput);
    edMailAddr->setPlaceholderText(QStringLiteral("member@example.com"));
    (new QLabel(QStringLiteral("@"), this))->setGeometry(276, 174, 14, 25);
    cbMailTail = new QComboBox(this);
    cbMailTail->setGeometry(292, 174, 163, 25);
    cbMailTail->addItems({QStringLiteral("기타"), QStringLiteral("naver.com"), QStringLiteral("daum.net"),
                          QStringLiteral("nate.com")});
    cbMailTail->setCurrentIndex(0);

    mmRule1 = addAgreement(this, "terms-of-use.txt", 210, rbRule1_1, rbRule1_2);
    Memo3 = addAgreement(this, "privacy-policy.txt", 330, rbRule2_1, rbRule2_2);
    Memo4 = addAgreement(this, "e-commerce-terms.txt", 450, rbRule3_1, rbRule3_2);

    edMP = addField(this, QStringLiteral("전화번호"), kLeft, 578, kFieldX, 150, 11, AllowOnlyDigits);
    edMP->setPlaceholderText(QStringLiteral("01012345678"));
    Button2 = addButton(this, QStringLiteral("인증"), 260, 578, 80);
    addNote(this, QStringLiteral("* 인증시 5분내 인증이 가능합니다."), kLeft, 610);
    edAuthCode = addField(this, QStringLiteral("인증코드"), kLeft, 632, kFieldX, 150, 6, AllowOnlyDigits);
    edAuthCode->setPlaceholderText(QStringLiteral("123456"));
    Button3 = addButton(this, QStringLiteral("인증확인"), 260, 632, 80);
    Button1 = addButton(this, QStringLiteral("가입하기"), kLeft, 682, 435, 48);

    const QList<QWidget*> tabs{edName,     edID,      edPWD,   edMailAddr, cbMailTail, edMP,      Button2,
                               edAuthCode, Button3,   Button1, mmRule1,    rbRule1_1,  rbRule1_2, Memo3,
                               rbRule2_1,  rbRule2_2, Memo4,   rbRule3_1,  rbRule3_2,  Button5};
    for (qsizetype i = 1; i < tabs.size(); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);

    makeFixedWindow(this, 475, 752);

    Messages& messages = m_ctx.messages;
    connectGuarded(Button5, &QPushButton::clicked, this, messages, &TfrmAddCus::Button5Click);
    connectGuarded(Button2, &QPushButton::clicked, this, messages, &TfrmAddCus::Button2Click);
    connectGuarded(Button3, &QPushButton::clicked, this, messages, &TfrmAddCus::Button3Click);
    connectGuarded(Button1, &QPushButton::clicked, this, messages, &TfrmAddCus::Button1Click);

    guarded(messages, [this] { FormCreate(); });
}

void TfrmAddCus::FormCreate() {
    AuthGaBu = false;
    bUse = false;
}

QString TfrmAddCus::mailAddress() const {
    return formMailAddress(edMailAddr->text(),
                           cbMailTail->currentIndex() == 0 ? QString() : cbMailTail->currentText());
}

QString TfrmAddCus::ReadMACAddress() const {
    return m_deviceKey.ReadMACAddress();
}

void TfrmAddCus::refuse(const QString& message, QWidget* focus) {
    m_ctx.messages.show(message);
    if (focus)
        focus->setFocus();
}

void TfrmAddCus::Button5Click() {
    if (isUserIdTaken(m_db, edID->text())) {
        m_ctx.messages.show(QStringLiteral("같은 아이디가 존재 합니다. 다른아이디를 넣으세요."));
        return;
    }
    m_ctx.messages.show(QStringLiteral("가입이 가능합니다.!"));
    bUse = true;
}

void TfrmAddCus::Button2Click() {
    if (edName->text().trimmed().isEmpty())
        return refuse(QStringLiteral("이름을 입력 하셔야 합니다.~~"), edName);
    if (edID->text().trimmed().size() < 5)
        return refuse(QStringLiteral("아이디는 5자리 이상을 입력하셔야 합니다."), edID);
    if (!bUse)
        return refuse(QStringLiteral("아이디 가능 여부를 확인 하셔야 합니다."), edID);
    if (edPWD->text().trimmed().size() < 4)
        return refuse(QStringLiteral("비밀번호는 4자리 이상을 입력하셔야 합니다."), edPWD);
    if (!IsValidEmail(mailAddress()))
        return refuse(QStringLiteral("E-Mail 주소는 정확해야 합니다. 정확히 입력해 주세요."), edMailAddr);
    if (!rbRule1_1->isChecked() || !rbRule2_1->isChecked() || !rbRule3_1->isChecked())
        return refuse(QStringLiteral("각 항에 동의를 하셔야 인증이 가능합니다."), nullptr);
    if (edMP->text().trimmed().size() != 11)
        return refuse(QStringLiteral("정확한 전화번호를 입력해 주세요."), edMP);
    if (IsPhoneNumberRegistered(m_db, edMP->text())) {
        m_ctx.messages.show(
            QStringLiteral("이 전화번호는 이미 등록되어 있습니다. 회원 아이디 찾기로 이동해 주세요."));
        emit lookupRequested();
        close();
        return;
    }
    DeviceID = ReadMACAddress();
    if (!CanAuthenticateFromDB(m_db, m_ctx.clock.now(), edMP->text(), DeviceID))
        return refuse(QStringLiteral("인증 요청은 5분에 한 번만 가능합니다."), nullptr);

    GeneratedCode = GenerateRandomCode();
    QString outcome;
    {
        WindowBusy busy(this);
        try {
            SendSMS(m_ctx.config.sms, m_ctx.clock, edMP->text(), GeneratedCode,
                    QStringLiteral("Your verification code is "));
            outcome = QStringLiteral(
                "인증코드가 전송 되었습니다. 확인후 인증코드를 입력하여 인증확인을 완료 하세요.");
        } catch (const Error& e) {
            outcome = QStringLiteral("SMS 전송 실패: ") + e.text();
        }
    }
    m_ctx.messages.show(outcome);
    for (QLineEdit* locked : {edMP, edName, edID, edPWD, edMailAddr})
        locked->setReadOnly(true);
    DelAuthTimeToDB(m_db, DeviceID);
    SaveAuthTimeToDB(m_db, m_ctx.clock.now(), edMP->text(), DeviceID);
    edAuthCode->setFocus();
}

void TfrmAddCus::Button3Click() {
    if (edAuthCode->text().isEmpty()) {
        m_ctx.messages.show(QStringLiteral("인증 코드를 입력하세요."));
        return;
    }
    if (edAuthCode->text() != GeneratedCode) {
        m_ctx.messages.show(QStringLiteral("인증 코드가 일치하지 않습니다."));
        return;
    }
    m_ctx.messages.show(QStringLiteral("인증 성공! 가입 가능합니다. "));
    AuthGaBu = true;
}

void TfrmAddCus::Button1Click() {
    if (!AuthGaBu) {
        m_ctx.messages.show(QStringLiteral("인증을 하신후 가입이 가능합니다. 전화번호 인증을 해주세요."));
        return;
    }
    InsertData();
}

void TfrmAddCus::InsertData() {
    try {
        insertCustomer(m_db, {edName->text(), edID->text(), edPWD->text(), edMP->text(), mailAddress()});
    } catch (const Error& e) {
        m_ctx.messages.show(QStringLiteral("회원가입 실패:") + e.text());
        return;
    }
    m_ctx.messages.show(QStringLiteral("가입이 완료되었습니다.!!~~"));
    emit signedUp();
    close();
}

} // namespace vantorel
