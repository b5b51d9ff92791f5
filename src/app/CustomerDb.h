#pragma once

#include <QList>
#include <QPair>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

namespace vantorel {

// The one connection to the member database. Statements are parameterised with
// ":name" placeholders and their rows are read by column name. A statement run
// while the connection is closed opens it first; a connection the server dropped
// (a restart, say) is closed and opened again. A statement that meets a row another
// connection has locked gives up after two seconds. Every failure throws Error with
// the server's own text.
class CustomerDb {
public:
    using Params = QList<QPair<QString, QVariant>>;

    CustomerDb();
    ~CustomerDb();
    CustomerDb(const CustomerDb&) = delete;
    CustomerDb& operator=(const CustomerDb&) = delete;

    // Applies "CharacterSet=utf8mb4" and then each base64 "Key=Value" line:
    // Server, Database, User_Name, Password, Port, UseSSL (False), SSLMode (DISABLED).
    void configure(const QStringList& base64Settings);

    void open();
    bool isOpen() const;

    QList<QSqlRecord> exec(const QString& sql, const Params& params = {});

    // Another connection with the same settings, for work that must stay apart
    // from the statements other windows run on this one meanwhile (a window that
    // waits keeps the event loop running).
    std::unique_ptr<CustomerDb> separateConnection() const;

    // Runs the work's statements as one transaction: committed when the work
    // returns true, rolled back when it returns false or throws. A connection lost
    // inside it is not reopened behind the work's back.
    void transaction(const std::function<bool()>& work);

private:
    void applySetting(const QString& keyValue);

    QString m_name;
    bool m_inTransaction = false;
};

} // namespace vantorel
