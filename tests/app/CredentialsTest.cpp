#include "app/Credentials.h"
#include "app/CustomerDb.h"
#include "support/MemberDb.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

using Kind = LoginVerdict::Kind;

TEST(Credentials, OnlyTheExactIdAndPasswordOfAnActiveMemberAreAccepted) {
    test::MemberDb server;
    server.clear();
    server.addCustomer(QStringLiteral("Member1"), QStringLiteral("pw12"));
    server.addCustomer(QStringLiteral("sleepy"), QStringLiteral("pw12"), QStringLiteral("active"));
    server.addCustomer(QStringLiteral("éclair"), QStringLiteral("ü 1"));
    CustomerDb db;
    db.configure(server.appSettings());

    struct Case {
        QString id;
        QString password;
        Kind kind;
        QString status;
    };
    const Case cases[] = {
        {QStringLiteral("Member1"), QStringLiteral("pw12"), Kind::Accepted, {}},
        {QStringLiteral("Member1"), QStringLiteral("pw13"), Kind::WrongCredentials, {}},
        {QStringLiteral("member1"), QStringLiteral("pw12"), Kind::WrongCredentials, {}},
        {QStringLiteral("MEMBER1"), QStringLiteral("pw12"), Kind::WrongCredentials, {}},
        {QStringLiteral("Member1 "), QStringLiteral("pw12"), Kind::WrongCredentials, {}},
        {QStringLiteral(" Member1"), QStringLiteral("pw12"), Kind::WrongCredentials, {}},
        {QStringLiteral("Member1"), QStringLiteral("pw12 "), Kind::WrongCredentials, {}},
        {QStringLiteral("sleepy"), QStringLiteral("pw12"), Kind::NotActive, QStringLiteral("active")},
        {QStringLiteral("éclair"), QStringLiteral("ü 1"), Kind::Accepted, {}},
        {QStringLiteral("eclair"), QStringLiteral("ü 1"), Kind::WrongCredentials, {}},
        {QString(), QString(), Kind::WrongCredentials, {}},
        {QStringLiteral("' OR '1'='1"), QStringLiteral("' OR '1'='1"), Kind::WrongCredentials, {}},
        {QStringLiteral("Member1' -- "), QStringLiteral("x"), Kind::WrongCredentials, {}},
    };
    for (const Case& c : cases) {
        const LoginVerdict v = checkCredentials(db, c.id, c.password);
        EXPECT_EQ(v.kind, c.kind) << c.id.toStdString() << " / " << c.password.toStdString();
        EXPECT_EQ(v.status, c.status) << c.id.toStdString();
    }
}

} // namespace
} // namespace vantorel
