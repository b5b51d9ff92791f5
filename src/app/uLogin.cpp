#include "app/uLogin.h"

#include "app/Credentials.h"
#include "common/FilteredInput.h"
#include "common/Guard.h"
#include "common/ProfileIni.h"
#include "common/WindowStyle.h"
#include "comparison/Unit1.h"
#include "help/NoticeCheck.h"
#include "help/uManual.h"
#include "members/DeviceKey.h"
#include "members/uAddCus.h"
#include "members/uPwdChange.h"
#include "members/uSearch.h"
#include "snapshots/uClient.h"
#include "snapshots/uFileManager.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>

namespace vantorel {

namespace {

const QString kSection = QStringLiteral("UserSettings");
const QString kUserIdKey = QStringLiteral("UserID");

} // namespace

TfrmLogin::TfrmLogin(AppContext& context, UrlOpener& urlOpener, QWidget* parent)
    : QMainWindow(parent)
    , m_ctx(context)
    , m_urlOpener(urlOpener) {
    setWindowTitle(QStringLiteral("Morwick Corp."));

    auto* client = new QWidget(this);
    auto* lbID = new QLabel(QStringLiteral("ID"), client);
    lbID->setGeometry(24, 28, 60, 21);
    edID = new QLineEdit(client);
    edID->setGeometry(92, 26, 124, 25);
    edID->setMaxLength(10);
    installKeyFilter(edID, AllowOnlyLatin1);

    auto* lbPWD = new QLabel(QStringLiteral("PassWord"), client);
    lbPWD->setGeometry(24, 64, 66, 21);
    edPWD = new QLineEdit(client);
    edPWD->setGeometry(92, 62, 124, 25);
    edPWD->setMaxLength(6);
    edPWD->setEchoMode(QLineEdit::Password);
    edPWD->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    installKeyFilter(edPWD, AllowOnlyLatin1);

    ckbID = new QCheckBox(QStringLiteral("아이디 저장하기"), client);
    ckbID->setGeometry(92, 98, 140, 22);
    ckbID->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("로그인"), client);
    Button1->setGeometry(92, 132, 124, 40);
    Button1->setAutoDefault(false);

    setTabOrder(edID, edPWD);
    setTabOrder(edPWD, ckbID);
    setTabOrder(ckbID, Button1);
    setCentralWidget(client);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("설정"));
    N2 = settings->addAction(QStringLiteral("회원가입"));
    N3 = settings->addAction(QStringLiteral("ID,비밀번호 찾기"));
    N4 = settings->addAction(QStringLiteral("비밀번호 변경"));
    N6 = menuBar()->addAction(QStringLiteral("설명서"));

    // Client area 240 × 197 below the menu bar.
    makeFixedWindow(this, 240, 197 + menuBar()->sizeHint().height());

    Messages& messages = m_ctx.messages;
    connectGuarded(Button1, &QPushButton::clicked, this, messages, &TfrmLogin::Button1Click);
    connectGuarded(edPWD, &QLineEdit::returnPressed, this, messages, &TfrmLogin::Button1Click);
    connectGuarded(N2, &QAction::triggered, this, messages, &TfrmLogin::N2Click);
    connectGuarded(N3, &QAction::triggered, this, messages, &TfrmLogin::N3Click);
    connectGuarded(N4, &QAction::triggered, this, messages, &TfrmLogin::N4Click);
    connectGuarded(N6, &QAction::triggered, this, messages, &TfrmLogin::N6Click);

    guarded(messages, [this] { FormCreate(); });
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::FormCreate() {
    // The saved ID first, so that it is in place even when the connection fails.
    LoadIDFromIni();
    m_db.configure(m_ctx.config.databaseSettings);
    m_db.open();
}

void TfrmLogin::FormShow() {
    // The member waits for the site's answer before using the window, which keeps
    // painting meanwhile.
    const QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    const auto enable = qScopeGuard([this, &focused] {
        setEnabled(true);
        if (focused)
            focused->setFocus();
    });
    CheckAndOpenBrowser(m_ctx.config.site, m_urlOpener);
}

void TfrmLogin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A restore from the taskbar is not a new showing. The check runs once the
    // window is on screen, so that it is seen while the site is asked.
    if (event->spontaneous())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                guarded(m_ctx.messages, [this] { FormShow(); });
        },
        Qt::QueuedConnection);
}

void TfrmLogin::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TfrmLogin::LoadIDFromIni() {
    const QString id = readProfileString(m_ctx.folder.settingsFile(), kSection, kUserIdKey, QString());
    if (id.isEmpty())
        return;
    edID->setText(id);
    ckbID->setChecked(true);
}

void TfrmLogin::SaveIDToIni(const QString& UserID) {
    writeProfileString(m_ctx.folder.settingsFile(), kSection, kUserIdKey, UserID);
}

void TfrmLogin::DeleteIDFromIni() {
    // Forgetting the ID is no reason to keep the member from signing in: a file
    // that cannot be read or written is left as it is.
    try {
        removeProfileKey(m_ctx.folder.settingsFile(), kSection, kUserIdKey);
    } catch (const Error&) {
    }
}

void TfrmLogin::Button1Click() {
    if (ckbID->isChecked())
        SaveIDToIni(edID->text());
    else
        DeleteIDFromIni();
    LoginCheck();
}

void TfrmLogin::LoginCheck() {
    LoginVerdict verdict;
    try {
        verdict = checkCredentials(m_db, edID->text(), edPWD->text());
    } catch (const Error& e) {
        m_ctx.messages.show(QStringLiteral("오류 발생: ") + e.text());
        return;
    }
    switch (verdict.kind) {
    case LoginVerdict::Kind::WrongCredentials:
        m_ctx.messages.show(QStringLiteral("로그인 실패: 아이디 또는 비밀번호가 올바르지 않습니다."));
        return;
    case LoginVerdict::Kind::NotActive:
        m_ctx.messages.show(QStringLiteral("로그인 실패: 계정 상태가 \"") + verdict.status +
                            QStringLiteral("\"입니다."));
        return;
    case LoginVerdict::Kind::Accepted:
        break;
    }

    // Signing in again while the work windows exist (the login window is shown
    // again after a sign-up) brings the member back to them.
    if (!m_frmMain) {
        m_frmMain = std::make_unique<TfrmMain>(m_ctx);
        m_frmReceive = std::make_unique<TfrmReceive>(m_ctx);
        m_frmMain->attachReceiver(m_frmReceive.get());
        m_frmFileManager = std::make_unique<TfrmFileManager>(m_ctx, *m_frmReceive);
    }
    m_frmMain->show();
    hide();
    m_frmReceive->hide();
    m_frmFileManager->hide();
}

template <typename Window, typename... Args> Window* TfrmLogin::openServiceWindow(Args&&... args) {
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    Window* opened = window.get();
    window->show();
    m_serviceWindows.push_back(std::move(window));
    return opened;
}

void TfrmLogin::N2Click() {
    auto* signUp = openServiceWindow<TfrmAddCus>(m_ctx, m_db, networkDeviceKey());
    connectGuarded(signUp, &TfrmAddCus::lookupRequested, this, m_ctx.messages, &TfrmLogin::N3Click);
    connect(signUp, &TfrmAddCus::signedUp, this, [this] {
        show();
        raise();
        activateWindow();
    });
}

void TfrmLogin::N3Click() {
    openServiceWindow<TfrmSearch>(m_ctx, m_db);
}

void TfrmLogin::N4Click() {
    openServiceWindow<TfrmPWDChange>(m_ctx, m_db);
}

void TfrmLogin::N6Click() {
    openServiceWindow<TfrmManual>(m_ctx.folder);
}

} // namespace vantorel
