#pragma once

#include <QWidget>

namespace vantorel {

// The hidden window that talks to the data server.
class TfrmReceive : public QWidget {
    Q_OBJECT
public:
    explicit TfrmReceive(QWidget* parent = nullptr);
};

} // namespace vantorel
