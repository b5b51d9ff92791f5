#include "live/uTopReal.h"

#include "common/WindowStyle.h"

namespace vantorel {

TfrmTopReal::TfrmTopReal(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("Top Real 10"));
    makeFixedWindow(this, 884, 384);
    move(10, 10);
}

} // namespace vantorel
