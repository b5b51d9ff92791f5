#pragma once

#include <QWidget>

namespace vantorel {

// The hidden window that keeps the data folder supplied with the day's files.
class TfrmFileManager : public QWidget {
    Q_OBJECT
public:
    explicit TfrmFileManager(QWidget* parent = nullptr);
};

} // namespace vantorel
