#include "app/CustomerDb.h"
#include "common/Error.h"
#include "support/MemberDb.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantorel {
namespace {

using test::databaseSettingLines;
using test::MemberDb;

QString errorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return e.text();
    }
    return {};
}

TEST(CustomerDbSettings, RefusesSettingsItCannotHonour) {
    struct Case {
        const char* what;
        QStringList lines;
        const char* error;
    };
    const auto b64 = [](const char* text) { return QString::fromLatin1(QByteArray(text).toBase64()); };
    const Case cases[] = {
        {"not base64", {QStringLiteral("%%%")}, "Invalid database setting: %%%"},
        {"no key", {b64("=x")}, "Invalid database setting: =x"},
        {"unknown key", {b64("Colour=red")}, "Unknown database setting: Colour"},
        {"TLS asked for", {b64("UseSSL=True")}, "Unsupported database setting: UseSSL=True"},
        {"port not a number", {b64("Port=abc")}, "Invalid database port: abc"},
    };
    for (const Case& c : cases) {
        CustomerDb db;
        EXPECT_EQ(errorOf([&] { db.configure(c.lines); }), QString::fromUtf8(c.error)) << c.what;
    }
    CustomerDb db;
    EXPECT_EQ(errorOf([&] {
                  db.configure(databaseSettingLines(QStringLiteral("127.0.0.1"), 3306, QStringLiteral("u"),
                                                    QStringLiteral("p=;,\"x")));
              }),
              QString());
}

class CustomerDbTest : public ::testing::Test {
protected:
    void SetUp() override { m_server.clear(); }
    MemberDb m_server;
};

TEST_F(CustomerDbTest, RunsParameterisedStatementsAndReadsRowsByName) {
    m_server.addCustomer(QStringLiteral("alice"), QStringLiteral("1234"));
    m_server.addCustomer(QStringLiteral("bob"), QStringLiteral("1234"), QStringLiteral("Hold"));
    CustomerDb db;
    db.configure(m_server.appSettings());
    EXPECT_FALSE(db.isOpen());

    // A statement on a closed connection opens it first.
    const auto rows = db.exec(QStringLiteral("SELECT status, user_id FROM Customer WHERE user_id = :id"),
                              {{QStringLiteral(":id"), QStringLiteral("bob")}});
    EXPECT_TRUE(db.isOpen());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(QStringLiteral("status")).toString(), QStringLiteral("Hold"));
    EXPECT_EQ(rows[0].value(QStringLiteral("user_id")).toString(), QStringLiteral("bob"));

    // Values are data, never SQL.
    EXPECT_TRUE(db.exec(QStringLiteral("SELECT 1 FROM Customer WHERE user_id = :id"),
                        {{QStringLiteral(":id"), QStringLiteral("' OR '1'='1")}})
                    .isEmpty());

    // Text travels as UTF-8 both ways.
    const auto echo = db.exec(QStringLiteral("SELECT CAST(:t AS CHAR(20)) AS t"),
                              {{QStringLiteral(":t"), QStringLiteral("가나 é")}});
    ASSERT_EQ(echo.size(), 1);
    EXPECT_EQ(echo[0].value(QStringLiteral("t")).toString(), QStringLiteral("가나 é"));
}

TEST_F(CustomerDbTest, ErrorsCarryTheServersText) {
    CustomerDb db;
    db.configure(m_server.appSettings());
    // The program's account may not delete members.
    const QString denied = errorOf([&] { db.exec(QStringLiteral("DELETE FROM Customer")); });
    EXPECT_TRUE(denied.startsWith(QStringLiteral("DELETE command denied to user"))) << denied.toStdString();
    const QString syntax = errorOf([&] { db.exec(QStringLiteral("SELEC 1")); });
    EXPECT_TRUE(syntax.contains(QStringLiteral("You have an error in your SQL syntax")))
        << syntax.toStdString();
    // A row the driver cannot fetch (a value longer than the column it announced)
    // is an error, not the end of the rows.
    const QString fetch = errorOf([&] {
        db.exec(QStringLiteral("SELECT :t AS t"), {{QStringLiteral(":t"), QStringLiteral("가나다")}});
    });
    EXPECT_EQ(fetch, QStringLiteral("QMYSQL: Unable to fetch data"));
    // The connection is still good after a refused statement.
    EXPECT_EQ(db.exec(QStringLiteral("SELECT 7 AS n"))[0].value(QStringLiteral("n")).toInt(), 7);
}

TEST_F(CustomerDbTest, ComesBackAfterTheServerRestarts) {
    CustomerDb db;
    db.configure(m_server.appSettings());
    db.open();
    ASSERT_EQ(db.exec(QStringLiteral("SELECT 1 AS n")).size(), 1);

    m_server.stop();
    const QString down = errorOf([&] { db.exec(QStringLiteral("SELECT 1 AS n")); });
    EXPECT_TRUE(down.contains(QStringLiteral("Can't connect"))) << down.toStdString();
    m_server.start();
    EXPECT_EQ(db.exec(QStringLiteral("SELECT 1 AS n")).size(), 1);

    // A restart while the connection sits idle is not even noticed.
    m_server.stop();
    m_server.start();
    EXPECT_EQ(db.exec(QStringLiteral("SELECT 2 AS n"))[0].value(QStringLiteral("n")).toInt(), 2);
}

TEST(CustomerDbDown, OpeningAServerThatIsNotThereFailsWithItsText) {
    CustomerDb db;
    db.configure(
        databaseSettingLines(QStringLiteral("127.0.0.1"), 1, QStringLiteral("u"), QStringLiteral("p")));
    const QString text = errorOf([&] { db.open(); });
    EXPECT_TRUE(text.contains(QStringLiteral("Can't connect"))) << text.toStdString();
    EXPECT_FALSE(db.isOpen());
}

} // namespace
} // namespace vantorel
