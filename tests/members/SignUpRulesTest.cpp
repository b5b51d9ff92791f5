#include "app/CustomerDb.h"
#include "members/DeviceKey.h"
#include "members/SignUp.h"
#include "support/MemberDb.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QNetworkInterface>
#include <QRegularExpression>

namespace vantorel {
namespace {

TEST(SignUpRules, IsValidEmail) {
    struct Case {
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"a@b.c", true},
        {"member@naver.com", true},
        {"first.last@mail.co.kr", true},
        {"a@b.c.", false}, // the last "." is the last character
        {"@b.c", false},   // "@" first
        {"a@.c", false},   // nothing between "@" and the last "."
        {"a@b.", false},
        {"a@b", false},    // no "."
        {"a.b@c", false},  // the only "." before the "@"
        {"a@@b.c", false}, // two "@"
        {"a@b@naver.com", false},
        {"", false},
        {"ab.c", false},       // no "@"
        {"a b@c d.e f", true}, // nothing else is tested
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidEmail(QString::fromUtf8(c.address)), c.valid) << c.address;
}

TEST(SignUpRules, TheMailAddressOfTheForm) {
    EXPECT_EQ(formMailAddress(QStringLiteral("me@x.org"), QString()), QStringLiteral("me@x.org"));
    EXPECT_EQ(formMailAddress(QStringLiteral("me"), QStringLiteral("naver.com")),
              QStringLiteral("me@naver.com"));
    // A field that already holds an "@" gives two of them, which the check refuses.
    EXPECT_FALSE(IsValidEmail(formMailAddress(QStringLiteral("me@x.org"), QStringLiteral("naver.com"))));
}

TEST(SignUpRules, TheDeviceKeyIsAHardwareAddressAsQtWritesIt) {
    const QString key = networkDeviceKey().ReadMACAddress();
    if (key.isEmpty()) {
        // Only a machine with no adapter but loopback gives the empty text.
        for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
            EXPECT_TRUE((i.flags() & QNetworkInterface::IsLoopBack) || i.hardwareAddress().isEmpty() ||
                        i.hardwareAddress() == QLatin1String("00:00:00:00:00:00"));
        return;
    }
    static const QRegularExpression mac(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$"));
    EXPECT_TRUE(mac.match(key).hasMatch()) << key.toStdString();
    EXPECT_EQ(networkDeviceKey().ReadMACAddress(), key);
}

TEST(SignUpRules, OneCodeRequestPerDeviceEveryFiveMinutesEitherWay) {
    test::MemberDb server;
    server.clear();
    CustomerDb db;
    db.configure(server.appSettings());
    const QString device = QStringLiteral("02:00:00:AA:BB:CC");
    const QDateTime recorded(QDate(2025, 7, 1), QTime(10, 0, 0));
    SaveAuthTimeToDB(db, recorded, QStringLiteral("01011112222"), device);

    struct Case {
        qint64 secondsLater;
        bool allowed;
    };
    const Case cases[] = {
        {0, false},
        {60, false},
        {299, false},
        {300, true},
        {3600, true},
        // A clock set back: the recorded request lies in the future.
        {-299, false},
        {-300, true},
        {-86400, true},
    };
    for (const Case& c : cases) {
        // The phone number takes no part: another number is refused just the same.
        EXPECT_EQ(CanAuthenticateFromDB(db, recorded.addSecs(c.secondsLater), QStringLiteral("01033334444"),
                                        device),
                  c.allowed)
            << c.secondsLater << " s";
    }
    EXPECT_TRUE(
        CanAuthenticateFromDB(db, recorded, QStringLiteral("01011112222"), QStringLiteral("Unknown")));

    // A new request replaces the device's one row.
    DelAuthTimeToDB(db, device);
    SaveAuthTimeToDB(db, recorded.addSecs(600), QStringLiteral("01055556666"), device);
    SaveAuthTimeToDB(db, recorded.addSecs(900), QStringLiteral("01055556666"), device);
    const auto rows = server.sql(QStringLiteral("SELECT PhoneNumber, LastAuthTime FROM AuthLog"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(QStringLiteral("PhoneNumber")).toString(), QStringLiteral("01055556666"));
    EXPECT_EQ(rows[0].value(QStringLiteral("LastAuthTime")).toDateTime(), recorded.addSecs(900));
}

} // namespace
} // namespace vantorel
