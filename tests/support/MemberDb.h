#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vantorel::test {

// The private MariaDB server the test run started (scripts/memberdb), found
// through VANTOREL_TEST_MEMBERDB. Seeds and inspects tables through an admin
// account of its own; the code under test uses the program's own account.
class MemberDb {
public:
    MemberDb();
    ~MemberDb();

    // The program's settings for this server: seven base64 "Key=Value" lines.
    QStringList appSettings() const;
    // The same settings for a port where no server listens.
    QStringList settingsForPort(int port) const;

    void clear();
    void addCustomer(const QString& userId, const QString& password,
                     const QString& status = QStringLiteral("Active"));

    // Runs one statement as the admin, the values bound to its "?" in order; the
    // rows it gives.
    QList<QSqlRecord> sql(const QString& statement, const QVariantList& values = {});

    void stop();
    void start();

private:
    void control(const QString& command);
    QSqlDatabase admin();

    QString m_dir;
    QString m_host;
    int m_port = 0;
    QString m_appUser;
    QString m_appPassword;
    QString m_adminUser;
    QString m_adminPassword;
    QString m_connection;
};

// Base64 "Key=Value" lines as the build generates them.
QStringList databaseSettingLines(const QString& host, int port, const QString& user, const QString& password,
                                 const QString& database = QStringLiteral("CustomerDB"));

} // namespace vantorel::test
