#pragma once

#include <QWidget>

namespace vantorel {

// Lookup of a forgotten ID, and the once-a-day temporary password.
class TfrmSearch : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSearch(QWidget* parent = nullptr);
};

} // namespace vantorel
