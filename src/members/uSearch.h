#pragma once

#include "common/AppContext.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantorel {

class CustomerDb;

// Lookup of a forgotten ID, and the once-a-day temporary password.
class TfrmSearch : public QWidget {
    Q_OBJECT
public:
    TfrmSearch(AppContext& context, CustomerDb& db, QWidget* parent = nullptr);

    void Button1Click();
    void Button2Click();
    void UpdatePasswordAndNotify(const QString& UserID, const QString& Phone);

    QLineEdit* edMP;
    QLineEdit* edMail;
    QPushButton* Button1;
    QLabel* lbSerID;
    QLineEdit* edUpID;
    QLineEdit* edUpMP;
    QPushButton* Button2;

private:
    AppContext& m_ctx;
    CustomerDb& m_db;
};

} // namespace vantorel
