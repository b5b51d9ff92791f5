#include "snapshots/uClient.h"

namespace vantorel {

TfrmReceive::TfrmReceive(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("수신용"));
}

} // namespace vantorel
