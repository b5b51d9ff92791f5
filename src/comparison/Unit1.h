#pragma once

#include <QWidget>

namespace vantorel {

// The window the member works in after signing in. Closing it ends the program.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace vantorel
