#include "members/uPwdChange.h"

#include "common/Error.h"
#include "common/Guard.h"
#include "common/WindowStyle.h"
#include "members/MemberForm.h"
#include "members/PasswordChange.h"

#include <QLineEdit>
#include <QPushButton>

namespace vantorel {

TfrmPWDChange::TfrmPWDChange(AppContext& context, CustomerDb& db, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_db(db) {
    setWindowTitle(QStringLiteral("비밀번호 변경"));

    edID = addField(this, QStringLiteral("ID"), 20, 24, 130, 140, 10, AllowOnlyEnglishAndNumbers);
    edPrePwd =
        addField(this, QStringLiteral("임시 PassWord"), 20, 62, 130, 140, 6, AllowOnlyEnglishAndNumbers);
    edNowPwd =
        addField(this, QStringLiteral("New PassWord"), 20, 100, 130, 140, 6, AllowOnlyEnglishAndNumbers);
    Button1 = new QPushButton(QStringLiteral("적용"), this);
    Button1->setGeometry(130, 150, 140, 40);
    Button1->setAutoDefault(false);

    setTabOrder(edID, edPrePwd);
    setTabOrder(edPrePwd, edNowPwd);
    setTabOrder(edNowPwd, Button1);

    makeFixedWindow(this, 295, 226);

    connectGuarded(Button1, &QPushButton::clicked, this, m_ctx.messages, &TfrmPWDChange::Button1Click);
}

void TfrmPWDChange::Button1Click() {
    bool updated = false;
    try {
        updated = UpdatePassword(m_db, edID->text(), edPrePwd->text(), edNowPwd->text());
    } catch (const Error& e) {
        m_ctx.messages.show(QStringLiteral("Error updating password: ") + e.text());
        return;
    }
    if (!updated) {
        m_ctx.messages.show(QStringLiteral("Invalid ID or Password."));
        return;
    }
    m_ctx.messages.show(QStringLiteral("Password updated successfully!"));
    close();
}

} // namespace vantorel
