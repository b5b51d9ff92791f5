#pragma once

#include "common/AppContext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vantorel {

class CustomerDb;

// Replaces a member's password.
class TfrmPWDChange : public QWidget {
    Q_OBJECT
public:
    TfrmPWDChange(AppContext& context, CustomerDb& db, QWidget* parent = nullptr);

    void Button1Click();

    QLineEdit* edID;
    QLineEdit* edPrePwd;
    QLineEdit* edNowPwd;
    QPushButton* Button1;

private:
    AppContext& m_ctx;
    CustomerDb& m_db;
};

} // namespace vantorel
