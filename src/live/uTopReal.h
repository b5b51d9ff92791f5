#pragma once

#include "common/AppContext.h"

#include <QWidget>

namespace vantorel {

class TfrmMain;

// The ten strongest buy and sell balances of the main window's result.
class TfrmTopReal : public QWidget {
    Q_OBJECT
public:
    // Follows the main window's result table and result counter; opens
    // single-stock windows through it.
    TfrmTopReal(AppContext& context, TfrmMain& main, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
    TfrmMain& m_main;
};

} // namespace vantorel
