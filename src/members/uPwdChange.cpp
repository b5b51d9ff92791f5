#include "members/uPwdChange.h"

#include "common/WindowStyle.h"

namespace vantorel {

TfrmPWDChange::TfrmPWDChange(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("비밀번호 변경"));
    makeFixedWindow(this, 295, 226);
}

} // namespace vantorel
