#include "live/uTopReal.h"

#include "common/WindowStyle.h"

namespace vantorel {

TfrmTopReal::TfrmTopReal(AppContext& context, TfrmMain& main, QWidget* parent)
    : QWidget(parent)
    , m_ctx(context)
    , m_main(main) {
    setWindowTitle(QStringLiteral("Top Real 10"));
    makeFixedWindow(this, 884, 384);
    move(10, 10);
}

} // namespace vantorel
