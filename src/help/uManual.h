#pragma once

#include <QWidget>

namespace vantorel {

// Shows the user manual that lies beside the program.
class TfrmManual : public QWidget {
    Q_OBJECT
public:
    explicit TfrmManual(QWidget* parent = nullptr);
};

} // namespace vantorel
