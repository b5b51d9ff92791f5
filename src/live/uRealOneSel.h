#pragma once

#include <QWidget>

class QLineEdit;

namespace vantorel {

// Follows one stock through the trading day, minute by minute.
class TfrmOneSel : public QWidget {
    Q_OBJECT
public:
    explicit TfrmOneSel(QWidget* parent = nullptr);

    QLineEdit* edCode;
};

} // namespace vantorel
