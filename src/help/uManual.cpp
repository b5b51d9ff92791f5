#include "help/uManual.h"

namespace vantorel {

TfrmManual::TfrmManual(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("모르윅 지표 설명서"));
    resize(1388, 871);
}

} // namespace vantorel
