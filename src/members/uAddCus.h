#pragma once

#include "common/AppContext.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vantorel {

class CustomerDb;
class DeviceKey;

// Sign-up with a phone number proven by an SMS code.
class TfrmAddCus : public QWidget {
    Q_OBJECT
public:
    TfrmAddCus(AppContext& context, CustomerDb& db, const DeviceKey& deviceKey, QWidget* parent = nullptr);

    void FormCreate();
    void Button5Click();
    void Button2Click();
    void Button3Click();
    void Button1Click();
    void InsertData();
    QString ReadMACAddress() const;

    bool bUse = false;
    bool AuthGaBu = false;
    QString GeneratedCode;
    QString DeviceID;

    QLineEdit* edName;
    QLineEdit* edID;
    QPushButton* Button5;
    QLineEdit* edPWD;
    QLineEdit* edMailAddr;
    QComboBox* cbMailTail;
    QPlainTextEdit* mmRule1;
    QRadioButton* rbRule1_1;
    QRadioButton* rbRule1_2;
    QPlainTextEdit* Memo3;
    QRadioButton* rbRule2_1;
    QRadioButton* rbRule2_2;
    QPlainTextEdit* Memo4;
    QRadioButton* rbRule3_1;
    QRadioButton* rbRule3_2;
    QLineEdit* edMP;
    QPushButton* Button2;
    QLineEdit* edAuthCode;
    QPushButton* Button3;
    QPushButton* Button1;

signals:
    // The phone number is registered already: the member is sent to the ID lookup.
    void lookupRequested();
    // The member was created: the login window comes forward.
    void signedUp();

private:
    QString mailAddress() const;
    // A failed check: its message, and the focus where the member fixes it.
    void refuse(const QString& message, QWidget* focus);

    AppContext& m_ctx;
    CustomerDb& m_db;
    const DeviceKey& m_deviceKey;
};

} // namespace vantorel
