#include "app/CustomerDb.h"

#include "common/Error.h"

#include <QAtomicInt>
#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace vantorel {

namespace {

QAtomicInt connectionCounter;

// Long enough for another connection's short statement, short enough that a
// window waiting for it still feels alive.
constexpr int kLockWaitSeconds = 2;

QString errorText(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// The client library's codes for a connection the server no longer holds
// (gone away, lost during a statement), and the server's "connection was killed".
bool isLostConnection(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("2006") || code == QLatin1String("2013") || code == QLatin1String("1927");
}

} // namespace

CustomerDb::CustomerDb()
    : m_name(QStringLiteral("vantorel-customerdb-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_name);
    // A host that does not answer must not freeze the window for long.
    db.setConnectOptions(
        QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10;MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30"));
}

CustomerDb::~CustomerDb() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void CustomerDb::configure(const QStringList& base64Settings) {
    applySetting(QStringLiteral("CharacterSet=utf8mb4"));
    for (const QString& line : base64Settings) {
        const auto decoded = QByteArray::fromBase64Encoding(line.trimmed().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw Error(QStringLiteral("Invalid database setting: %1").arg(line));
        applySetting(QString::fromUtf8(*decoded));
    }
}

void CustomerDb::applySetting(const QString& keyValue) {
    const qsizetype eq = keyValue.indexOf(QLatin1Char('='));
    if (eq <= 0)
        throw Error(QStringLiteral("Invalid database setting: %1").arg(keyValue));
    const QString key = keyValue.left(eq);
    const QString value = keyValue.mid(eq + 1);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);

    if (key == QLatin1String("Server")) {
        db.setHostName(value);
    } else if (key == QLatin1String("Database")) {
        db.setDatabaseName(value);
    } else if (key == QLatin1String("User_Name")) {
        db.setUserName(value);
    } else if (key == QLatin1String("Password")) {
        db.setPassword(value);
    } else if (key == QLatin1String("Port")) {
        bool ok = false;
        const int port = value.toInt(&ok);
        if (!ok || port <= 0 || port > 65535)
            throw Error(QStringLiteral("Invalid database port: %1").arg(value));
        db.setPort(port);
    } else if (key == QLatin1String("CharacterSet")) {
        // The driver itself talks utf8mb4 to the server; nothing else is offered.
        if (value.compare(QLatin1String("utf8mb4"), Qt::CaseInsensitive) != 0)
            throw Error(QStringLiteral("Unsupported database character set: %1").arg(value));
    } else if (key == QLatin1String("UseSSL")) {
        if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0)
            throw Error(QStringLiteral("Unsupported database setting: %1").arg(keyValue));
    } else if (key == QLatin1String("SSLMode")) {
        if (value.compare(QLatin1String("DISABLED"), Qt::CaseInsensitive) != 0)
            throw Error(QStringLiteral("Unsupported database setting: %1").arg(keyValue));
    } else {
        throw Error(QStringLiteral("Unknown database setting: %1").arg(key));
    }
}

void CustomerDb::open() {
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        return;
    if (!db.open())
        throw Error(errorText(db.lastError()));
    // A row another connection holds (a temporary password waiting for its SMS)
    // must not hold up the window that runs this statement: give up after a
    // moment and report it, as any other failure.
    QSqlQuery setup(db);
    if (!setup.exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = %1").arg(kLockWaitSeconds))) {
        const QString text = errorText(setup.lastError());
        db.close();
        throw Error(text);
    }
}

bool CustomerDb::isOpen() const {
    return QSqlDatabase::database(m_name, false).isOpen();
}

QList<QSqlRecord> CustomerDb::exec(const QString& sql, const Params& params) {
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    QSqlQuery query(db);
    for (int attempt = 0;; ++attempt) {
        if (m_inTransaction && !db.isOpen())
            throw Error(QStringLiteral("The connection to the member database was lost"));
        open();
        query = QSqlQuery(db);
        query.setForwardOnly(true);
        if (query.prepare(sql))
            break;
        // A connection the server dropped while it was idle shows here, before
        // anything has run: open afresh and prepare once more.
        if (attempt > 0 || m_inTransaction || !isLostConnection(query.lastError()))
            throw Error(errorText(query.lastError()));
        db.close();
    }
    for (const auto& [name, value] : params)
        query.bindValue(name, value);
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        // The statement may or may not have run: report it, and let the next
        // statement open a fresh connection.
        if (isLostConnection(error))
            db.close();
        throw Error(errorText(error));
    }
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    // next() also ends on a failed fetch (a value longer than the driver's
    // buffer, say): that must not pass for the end of the rows.
    if (query.lastError().type() != QSqlError::NoError)
        throw Error(errorText(query.lastError()));
    return rows;
}

std::unique_ptr<CustomerDb> CustomerDb::separateConnection() const {
    auto other = std::make_unique<CustomerDb>();
    const QSqlDatabase mine = QSqlDatabase::database(m_name, false);
    QSqlDatabase theirs = QSqlDatabase::database(other->m_name, false);
    theirs.setHostName(mine.hostName());
    theirs.setPort(mine.port());
    theirs.setDatabaseName(mine.databaseName());
    theirs.setUserName(mine.userName());
    theirs.setPassword(mine.password());
    theirs.setConnectOptions(mine.connectOptions());
    return other;
}

void CustomerDb::transaction(const std::function<bool()>& work) {
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    for (int attempt = 0;; ++attempt) {
        open();
        if (db.transaction())
            break;
        // Nothing has run yet: a connection dropped while idle is opened afresh.
        if (attempt > 0 || !isLostConnection(db.lastError()))
            throw Error(errorText(db.lastError()));
        db.close();
    }
    m_inTransaction = true;
    bool commit = false;
    try {
        commit = work();
    } catch (...) {
        m_inTransaction = false;
        db.rollback();
        throw;
    }
    m_inTransaction = false;
    if (!commit) {
        db.rollback();
        return;
    }
    if (!db.commit()) {
        const QString text = errorText(db.lastError());
        db.rollback();
        throw Error(text);
    }
}

} // namespace vantorel
