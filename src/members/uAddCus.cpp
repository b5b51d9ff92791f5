#include "members/uAddCus.h"

#include "common/WindowStyle.h"

namespace vantorel {

TfrmAddCus::TfrmAddCus(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("회원가입"));
    makeFixedWindow(this, 475, 752);
}

} // namespace vantorel
