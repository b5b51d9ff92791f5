#pragma once

#include <QWidget>

namespace vantorel {

// The ten strongest buy and sell balances of the main window's result.
class TfrmTopReal : public QWidget {
    Q_OBJECT
public:
    explicit TfrmTopReal(QWidget* parent = nullptr);
};

} // namespace vantorel
