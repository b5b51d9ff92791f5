#include "support/MemberDb.h"

#include "common/PasswordDigest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantorel::test {

QStringList databaseSettingLines(const QString& host, int port, const QString& user, const QString& password,
                                 const QString& database) {
    const QStringList plain{
        QStringLiteral("Server=") + host,    QStringLiteral("Database=") + database,
        QStringLiteral("User_Name=") + user, QStringLiteral("Password=") + password,
        QStringLiteral("Port=%1").arg(port), QStringLiteral("UseSSL=False"),
        QStringLiteral("SSLMode=DISABLED"),
    };
    QStringList lines;
    for (const QString& line : plain)
        lines << QString::fromLatin1(line.toUtf8().toBase64());
    return lines;
}

MemberDb::MemberDb()
    : m_dir(qEnvironmentVariable("VANTOREL_TEST_MEMBERDB"))
    , m_connection(QStringLiteral("test-admin")) {
    QFile env(QDir(m_dir).filePath(QStringLiteral("conn.env")));
    if (m_dir.isEmpty() || !env.open(QIODevice::ReadOnly))
        throw std::runtime_error("VANTOREL_TEST_MEMBERDB does not name a running member database");
    for (const QByteArray& raw : env.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const QString value = line.section(QLatin1Char('='), 1);
        if (key == QLatin1String("HOST"))
            m_host = value;
        else if (key == QLatin1String("PORT"))
            m_port = value.toInt();
        else if (key == QLatin1String("APP_USER"))
            m_appUser = value;
        else if (key == QLatin1String("APP_PASSWORD"))
            m_appPassword = value;
        else if (key == QLatin1String("ADMIN_USER"))
            m_adminUser = value;
        else if (key == QLatin1String("ADMIN_PASSWORD"))
            m_adminPassword = value;
    }
}

MemberDb::~MemberDb() {
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QStringList MemberDb::appSettings() const {
    return databaseSettingLines(m_host, m_port, m_appUser, m_appPassword);
}

QStringList MemberDb::settingsForPort(int port) const {
    return databaseSettingLines(m_host, port, m_appUser, m_appPassword);
}

QSqlDatabase MemberDb::admin() {
    if (!QSqlDatabase::contains(m_connection)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_connection);
        db.setHostName(m_host);
        db.setPort(m_port);
        db.setUserName(m_adminUser);
        db.setPassword(m_adminPassword);
        db.setDatabaseName(QStringLiteral("CustomerDB"));
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen() && !db.open())
        throw std::runtime_error(db.lastError().text().toStdString());
    return db;
}

void MemberDb::clear() {
    QSqlQuery q(admin());
    if (!q.exec(QStringLiteral("DELETE FROM Customer")) || !q.exec(QStringLiteral("DELETE FROM AuthLog")))
        throw std::runtime_error(q.lastError().text().toStdString());
}

void MemberDb::addCustomer(const QString& userId, const QString& password, const QString& status) {
    QSqlQuery q(admin());
    q.prepare(
        QStringLiteral("INSERT INTO Customer (name, user_id, password, phone, status, note2, note3, note4) "
                       "VALUES ('테스트', :user_id, :password, '01012345678', :status, '', '', '')"));
    q.bindValue(QStringLiteral(":user_id"), userId);
    q.bindValue(QStringLiteral(":password"), passwordDigest(password));
    q.bindValue(QStringLiteral(":status"), status);
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
}

QList<QSqlRecord> MemberDb::sql(const QString& statement, const QVariantList& values) {
    QSqlQuery q(admin());
    if (!q.prepare(statement))
        throw std::runtime_error(q.lastError().text().toStdString());
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
    QList<QSqlRecord> rows;
    while (q.next())
        rows << q.record();
    return rows;
}

void MemberDb::control(const QString& command) {
    // The admin connection does not survive a restart.
    QSqlDatabase::database(m_connection, false).close();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral(VANTOREL_SOURCE_DIR "/scripts/memberdb"), {command, m_dir});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        throw std::runtime_error("scripts/memberdb " + command.toStdString() + " failed");
}

void MemberDb::stop() {
    control(QStringLiteral("stop"));
}

void MemberDb::start() {
    control(QStringLiteral("start"));
}

} // namespace vantorel::test
