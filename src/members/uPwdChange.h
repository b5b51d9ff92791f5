#pragma once

#include <QWidget>

namespace vantorel {

// Replaces a member's password.
class TfrmPWDChange : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPWDChange(QWidget* parent = nullptr);
};

} // namespace vantorel
