#pragma once

#include <QWidget>

namespace vantorel {

// Sign-up with a phone number proven by an SMS code.
class TfrmAddCus : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAddCus(QWidget* parent = nullptr);
};

} // namespace vantorel
