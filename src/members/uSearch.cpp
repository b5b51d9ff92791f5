#include "members/uSearch.h"

#include "common/WindowStyle.h"

namespace vantorel {

TfrmSearch::TfrmSearch(QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("ID,Password 찾기"));
    makeFixedWindow(this, 422, 540);
}

} // namespace vantorel
