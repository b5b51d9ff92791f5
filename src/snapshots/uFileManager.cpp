#include "snapshots/uFileManager.h"

namespace vantorel {

TfrmFileManager::TfrmFileManager(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("파일다운및 관리화면"));
}

} // namespace vantorel
