#include "live/uRealOneSel.h"

#include "common/WindowStyle.h"

#include <QLineEdit>

namespace vantorel {

TfrmOneSel::TfrmOneSel(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("실시간 종목상황"));
    makeFixedWindow(this, 311, 441);
    edCode = new QLineEdit(QStringLiteral("000000"), this);
    edCode->setGeometry(72, 8, 89, 23);
    edCode->setMaxLength(6);
}

} // namespace vantorel
