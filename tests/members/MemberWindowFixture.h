#pragma once

#include "app/CustomerDb.h"
#include "common/AppContext.h"
#include "common/PasswordDigest.h"
#include "members/DeviceKey.h"
#include "support/MemberDb.h"
#include "support/RecordingMessages.h"
#include "support/SettableClock.h"
#include "support/SmsGatewayProcess.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace vantorel::test {

class FixedDeviceKey final : public DeviceKey {
public:
    QString ReadMACAddress() const override { return QStringLiteral("02:00:00:AA:BB:CC"); }
};

// A member window against the real member database and the gateway stand-in.
class MemberWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_server.clear();
        m_db.configure(m_server.appSettings());
        m_context = std::make_unique<AppContext>(
            AppContext{m_messages, m_clock, ProgramFolder(m_folder.path()),
                       Config{m_server.appSettings(), {}, 1, {}, m_gateway.config()}});
    }

    // A member as the admin enters one.
    void addMember(const QString& userId, const QString& password, const QString& phone, const QString& mail,
                   const QVariant& note3 = QStringLiteral("")) {
        m_server.sql(
            QStringLiteral("INSERT INTO Customer (name, user_id, password, phone, status, note2, note3, "
                           "note4) VALUES ('회원', ?, ?, ?, 'Active', ?, ?, '')"),
            {userId, passwordDigest(password), phone, mail, note3});
    }

    QString storedPassword(const QString& userId) {
        const auto rows =
            m_server.sql(QStringLiteral("SELECT password FROM Customer WHERE user_id = ?"), {userId});
        return rows.isEmpty() ? QString() : rows[0].value(0).toString();
    }

    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    MemberDb m_server;
    SmsGatewayProcess m_gateway;
    RecordingMessages m_messages;
    SettableClock m_clock{QDateTime::currentDateTime()};
    QTemporaryDir m_folder;
    CustomerDb m_db;
    std::unique_ptr<AppContext> m_context;
};

// The next widget the Tab key moves to.
inline QWidget* nextTabStop(QWidget* from) {
    QWidget* w = from->nextInFocusChain();
    while (w != from && !(w->focusPolicy() & Qt::TabFocus))
        w = w->nextInFocusChain();
    return w;
}

} // namespace vantorel::test
