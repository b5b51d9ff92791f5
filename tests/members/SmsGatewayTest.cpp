#include "members/SmsGateway.h"
#include "common/Error.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServer.h"
#include "support/SettableClock.h"
#include "support/SmsGatewayProcess.h"
#include "support/ToolProcess.h"
#include "support/Vectors.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimeZone>
#include <QUrl>

namespace vantorel {
namespace {

using test::SettableClock;
using test::SmsGatewayProcess;

const QString kPrefix = QStringLiteral("SMS 전송 실패: ");

// The error SendSMS throws, or "<sent>".
QString sendOutcome(const SmsConfig& config, const Clock& clock,
                    const QString& phone = QStringLiteral("01012345678"),
                    const QString& code = QStringLiteral("123456")) {
    try {
        SendSMS(config, clock, phone, code, QStringLiteral("Your verification code is "));
    } catch (const Error& e) {
        return e.text();
    }
    return QStringLiteral("<sent>");
}

// The errorCode of a refusal the gateway answered with.
QString refusalCode(const QString& error) {
    if (!error.startsWith(kPrefix))
        return QStringLiteral("<not a refusal: %1>").arg(error);
    return QJsonDocument::fromJson(error.mid(kPrefix.size()).toUtf8())
        .object()
        .value(QStringLiteral("errorCode"))
        .toString();
}

TEST(SmsSignature, HmacMatchesTheRfc4231Vectors) {
    const auto rows = test::vectorRows("hmac_sha256_rfc4231.tsv");
    ASSERT_EQ(rows.size(), 7);
    for (const auto& row : rows) {
        const QString mac = hmacSha256Hex(QByteArray::fromHex(row[0]), QByteArray::fromHex(row[1]));
        const int truncateBits = row.size() > 3 ? row[3].trimmed().toInt() : 0;
        EXPECT_EQ(truncateBits ? mac.left(truncateBits / 4) : mac, QString::fromLatin1(row[2]))
            << row[1].constData();
    }
}

TEST(SmsSignature, HeaderAndBodyAreComposedExactly) {
    // The worked example beside the vectors: the vendor's sample date and salt.
    const QString date = QStringLiteral("2019-07-01T00:41:48Z");
    const QString salt = QStringLiteral("jqsba2jxjnrjor");
    const QString signature = smsSignature(QStringLiteral("TEST_SECRET_NOT_A_REAL_KEY_0001"), date, salt);
    EXPECT_EQ(signature, QStringLiteral("55a2615a5dd21cf762d7182bdab3bc294bdd36cf7fe9976021c4a0cd462c1c71"));
    EXPECT_EQ(smsAuthorization(QStringLiteral("NCSAYU7YDBXYORXC"), date, salt, signature),
              QStringLiteral("HMAC-SHA256 apiKey=NCSAYU7YDBXYORXC, date=2019-07-01T00:41:48Z, "
                             "salt=jqsba2jxjnrjor, "
                             "signature=55a2615a5dd21cf762d7182bdab3bc294bdd36cf7fe9976021c4a0cd462c1c71"));

    // Members in the order to, from, text, type; text escaped, Hangul as UTF-8.
    EXPECT_EQ(smsBody(QStringLiteral("01012345678"), QStringLiteral("0212345678"),
                      QStringLiteral("Say \"hi\"\\ 인증 123456")),
              QByteArray("{\"message\":{\"to\":\"01012345678\",\"from\":\"0212345678\","
                         "\"text\":\"Say \\\"hi\\\"\\\\ ") +
                  QStringLiteral("인증").toUtf8() + QByteArray(" 123456\",\"type\":\"SMS\"}}"));
}

TEST(SmsSignature, DateIsUtcWithTheZoneOffsetAtThatMoment) {
    const QTimeZone seoul("Asia/Seoul");
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(seoul.isValid() && berlin.isValid());
    struct Case {
        QDateTime local;
        QString utc;
    };
    const Case cases[] = {
        {QDateTime(QDate(2025, 7, 1), QTime(9, 30), seoul), QStringLiteral("2025-07-01T00:30:00Z")},
        {QDateTime(QDate(2025, 7, 1), QTime(0, 10, 5), seoul), QStringLiteral("2025-06-30T15:10:05Z")},
        {QDateTime(QDate(2025, 1, 1), QTime(0, 0, 7), seoul), QStringLiteral("2024-12-31T15:00:07Z")},
        {QDateTime(QDate(2025, 7, 1), QTime(12, 0), berlin), QStringLiteral("2025-07-01T10:00:00Z")},
        {QDateTime(QDate(2025, 12, 1), QTime(12, 0), berlin), QStringLiteral("2025-12-01T11:00:00Z")},
        {QDateTime(QDate(2025, 7, 1), QTime(3, 4, 5, 999), QTimeZone::utc()),
         QStringLiteral("2025-07-01T03:04:05Z")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(smsDate(c.local), c.utc) << c.local.toString(Qt::ISODate).toStdString();
}

TEST(SmsSignature, CodesAndSaltsKeepTheirForms) {
    static const QRegularExpression code(QStringLiteral("^[1-9][0-9]{5}$"));
    static const QRegularExpression salt(QStringLiteral("^(0|[1-9][0-9]{0,5})$"));
    QSet<QString> codes;
    for (int i = 0; i < 2000; ++i) {
        const QString c = GenerateRandomCode();
        ASSERT_TRUE(code.match(c).hasMatch()) << c.toStdString();
        codes << c;
        const QString s = smsSalt();
        ASSERT_TRUE(salt.match(s).hasMatch()) << s.toStdString();
    }
    // Two calls in the same instant do not give the same code, as a generator
    // seeded from the clock would.
    EXPECT_GT(codes.size(), 1900);
}

class SmsGateway : public ::testing::Test {
protected:
    SmsGatewayProcess m_gateway;
    SettableClock m_clock{QDateTime::currentDateTime()};
};

TEST_F(SmsGateway, AcceptsTheSignedRequestAndLogsTheMessage) {
    EXPECT_EQ(
        sendOutcome(m_gateway.config(), m_clock, QStringLiteral("01098765432"), QStringLiteral("604213")),
        QStringLiteral("<sent>"));
    // A second message right after signs with a fresh salt: no duplicate signature.
    EXPECT_EQ(sendOutcome(m_gateway.config(), m_clock), QStringLiteral("<sent>"));
    const QList<QJsonObject> accepted = m_gateway.accepted();
    ASSERT_EQ(accepted.size(), 2);
    EXPECT_EQ(accepted[0][QStringLiteral("to")].toString(), QStringLiteral("01098765432"));
    EXPECT_EQ(accepted[0][QStringLiteral("from")].toString(), Config::fromBuild().sms.sender);
    EXPECT_EQ(accepted[0][QStringLiteral("text")].toString(),
              QStringLiteral("Your verification code is 604213"));
}

TEST_F(SmsGateway, RefusalsCarryTheGatewaysBodyAfterThePrefix) {
    struct Case {
        const char* what;
        SmsConfig config;
        QDateTime now;
        QString code;
    };
    const SmsConfig good = m_gateway.config();
    const QDateTime now = QDateTime::currentDateTime();
    SmsConfig wrongKey = good;
    wrongKey.apiKey = QStringLiteral("WRONGKEY00000000");
    SmsConfig wrongSecret = good;
    wrongSecret.apiSecret[0] = wrongSecret.apiSecret[0] == u'A' ? u'B' : u'A';
    SmsConfig wrongSender = good;
    wrongSender.sender = QStringLiteral("0299999999");
    const Case cases[] = {
        {"wrong API key", wrongKey, now, QStringLiteral("InvalidAPIKey")},
        {"wrong secret", wrongSecret, now, QStringLiteral("SignatureDoesNotMatch")},
        {"clock 16 minutes fast", good, now.addSecs(16 * 60), QStringLiteral("RequestTimeTooSkewed")},
        {"clock 16 minutes slow", good, now.addSecs(-16 * 60), QStringLiteral("RequestTimeTooSkewed")},
        {"clock 14 minutes slow", good, now.addSecs(-14 * 60), QString()},
        {"unregistered sender", wrongSender, now, QStringLiteral("InvalidSenderNumber")},
    };
    for (const Case& c : cases) {
        m_clock.set(c.now);
        const QString outcome = sendOutcome(c.config, m_clock);
        if (c.code.isEmpty())
            EXPECT_EQ(outcome, QStringLiteral("<sent>")) << c.what;
        else
            EXPECT_EQ(refusalCode(outcome), c.code) << c.what << ": " << outcome.toStdString();
    }
    EXPECT_EQ(m_gateway.accepted().size(), 1);
}

TEST_F(SmsGateway, TransportFailuresKeepTheTransportsOwnText) {
    SmsConfig untrusted = m_gateway.config();
    untrusted.caFile.clear(); // the system's CAs do not know the stand-in
    const QString handshake = sendOutcome(untrusted, m_clock);
    EXPECT_FALSE(handshake.startsWith(kPrefix)) << handshake.toStdString();
    EXPECT_TRUE(handshake.contains(QStringLiteral("SSL"), Qt::CaseInsensitive)) << handshake.toStdString();

    SmsConfig nobody = m_gateway.config();
    test::ScriptedServer closed;
    const quint16 freePort = closed.port();
    closed.close();
    nobody.url = QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(freePort);
    EXPECT_EQ(sendOutcome(nobody, m_clock), QStringLiteral("Connection refused"));
    EXPECT_TRUE(m_gateway.accepted().isEmpty());
}

TEST_F(SmsGateway, ASilentGatewayIsGivenUpOnAfterTheTimeLimit) {
    // Takes the connection and never says a word, not even a TLS hello.
    test::ScriptedServer silent;
    SmsConfig config = m_gateway.config();
    config.url = QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(silent.port());
    config.timeLimitMs = 400;
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(sendOutcome(config, m_clock), QStringLiteral("The SMS gateway did not answer within 0.4 s"));
    EXPECT_LT(elapsed.elapsed(), 5000);
    EXPECT_GE(silent.connections(), 1);
}

// One request written by hand, to see what the stand-in lets through.
struct RawAnswer {
    int status = 0;
    QString errorCode;
};

RawAnswer post(const SmsGatewayProcess& gateway, const QByteArray& method, const QString& path,
               const QByteArray& authorization, const QByteArray& body) {
    QNetworkRequest request(QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(gateway.port()).arg(path)));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(gateway.certificateFile()));
    request.setSslConfiguration(tls);
    request.setRawHeader("Content-Type", "application/json");
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.sendCustomRequest(request, method, body));
    test::waitUntil([&] { return reply->isFinished(); }, 10000);
    RawAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.errorCode =
        QJsonDocument::fromJson(reply->readAll()).object().value(QStringLiteral("errorCode")).toString();
    return answer;
}

TEST_F(SmsGateway, ChecksWhatTheRealServiceChecks) {
    const SmsConfig config = Config::fromBuild().sms;
    const QString now = smsDate(QDateTime::currentDateTime());
    const auto header = [&](const QString& salt, const QString& secret = QString()) {
        return smsAuthorization(config.apiKey, now, salt,
                                smsSignature(secret.isEmpty() ? config.apiSecret : secret, now, salt))
            .toUtf8();
    };
    const QByteArray body = smsBody(QStringLiteral("01012345678"), config.sender, QStringLiteral("hi"));
    const QString path = QStringLiteral("/messages/v4/send");
    struct Case {
        const char* what;
        QByteArray method;
        QString path;
        QByteArray authorization;
        QByteArray body;
        int status;
        QString errorCode;
    };
    const Case cases[] = {
        {"one-digit salt", "POST", path, header(QStringLiteral("7")), body, 200, QString()},
        {"six-digit salt", "POST", path, header(QStringLiteral("402139")), body, 200, QString()},
        {"same signature again", "POST", path, header(QStringLiteral("7")), body, 403,
         QStringLiteral("DuplicatedSignature")},
        {"other path", "POST", QStringLiteral("/messages/v4/send-many"), header(QStringLiteral("11")), body,
         404, QStringLiteral("NotFound")},
        {"GET", "GET", path, header(QStringLiteral("12")), QByteArray(), 405,
         QStringLiteral("MethodNotAllowed")},
        {"no header", "POST", path, QByteArray(), body, 403, QStringLiteral("InvalidAuthorizationHeader")},
        {"pairs without spaces", "POST", path, header(QStringLiteral("13")).replace(", ", ","), body, 403,
         QStringLiteral("InvalidAuthorizationHeader")},
        {"other method", "POST", path, header(QStringLiteral("14")).replace("HMAC-SHA256", "HMAC-MD5"), body,
         403, QStringLiteral("InvalidAuthorizationHeader")},
        {"salt with a dash", "POST", path, header(QStringLiteral("1-5")), body, 403,
         QStringLiteral("InvalidSalt")},
        {"message as an array", "POST", path, header(QStringLiteral("17")),
         "{\"message\":[{\"to\":\"01012345678\",\"from\":\"" + config.sender.toUtf8() +
             "\",\"text\":\"hi\"}]}",
         400, QStringLiteral("ValidationError")},
        {"no text", "POST", path, header(QStringLiteral("18")),
         "{\"message\":{\"to\":\"01012345678\",\"from\":\"" + config.sender.toUtf8() + "\"}}", 400,
         QStringLiteral("ValidationError")},
        {"not JSON", "POST", path, header(QStringLiteral("19")), "to=01012345678", 400,
         QStringLiteral("ValidationError")},
    };
    for (const Case& c : cases) {
        const RawAnswer answer = post(m_gateway, c.method, c.path, c.authorization, c.body);
        EXPECT_EQ(answer.status, c.status) << c.what;
        EXPECT_EQ(answer.errorCode, c.errorCode) << c.what;
    }
    EXPECT_EQ(m_gateway.accepted().size(), 2);
}

TEST_F(SmsGateway, TheCliSendsAsTheWindowsDo) {
    const QStringList target{QStringLiteral("--endpoint"), m_gateway.url(), QStringLiteral("--ca-file"),
                             m_gateway.certificateFile()};
    auto run = test::runTool(QStringLiteral("vantorel-cli"),
                             QStringList{QStringLiteral("sms"), QStringLiteral("--json")} + target +
                                 QStringList{QStringLiteral("01055554444"),
                                             QStringLiteral("Your password is "), QStringLiteral("918273")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("{\"ok\":true}\n"));
    ASSERT_EQ(m_gateway.accepted().size(), 1);
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("text")].toString(),
              QStringLiteral("Your password is 918273"));
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("to")].toString(), QStringLiteral("01055554444"));

    // Refused: the error as the window shows it after its own prefix.
    run =
        test::runTool(QStringLiteral("vantorel-cli"),
                      QStringList{QStringLiteral("sms"), QStringLiteral("--json")} + target +
                          QStringList{QStringLiteral("010-5555"), QStringLiteral("x"), QStringLiteral("1")});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject refused = QJsonDocument::fromJson(run.out).object();
    EXPECT_FALSE(refused[QStringLiteral("ok")].toBool(true));
    EXPECT_EQ(refusalCode(refused[QStringLiteral("error")].toString()), QStringLiteral("ValidationError"))
        << run.out.toStdString();

    // Without --ca-file the build's certificate is trusted, which this stand-in does not use.
    run = test::runTool(QStringLiteral("vantorel-cli"),
                        {QStringLiteral("sms"), QStringLiteral("--endpoint"), m_gateway.url(),
                         QStringLiteral("01055554444"), QStringLiteral("x"), QStringLiteral("1")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(m_gateway.accepted().size(), 1);
}

TEST_F(SmsGateway, TheCliReadsOptionsOnlyBeforeItsValues) {
    const QStringList target{QStringLiteral("--endpoint"), m_gateway.url(), QStringLiteral("--ca-file"),
                             m_gateway.certificateFile()};
    // Values that look like options are sent as they stand.
    const QStringList sent[] = {
        target + QStringList{QStringLiteral("--"), QStringLiteral("01055554444"), QStringLiteral("--json "),
                             QStringLiteral("1")},
        target + QStringList{QStringLiteral("01055554444"), QStringLiteral("--code "), QStringLiteral("2")},
    };
    for (const QStringList& args : sent) {
        const auto run =
            test::runTool(QStringLiteral("vantorel-cli"), QStringList{QStringLiteral("sms")} + args);
        EXPECT_EQ(run.exitCode, 0) << args.join(u' ').toStdString() << ": " << run.err.toStdString();
    }
    ASSERT_EQ(m_gateway.accepted().size(), 2);
    EXPECT_EQ(m_gateway.accepted()[0][QStringLiteral("text")].toString(), QStringLiteral("--json 1"));
    EXPECT_EQ(m_gateway.accepted()[1][QStringLiteral("text")].toString(), QStringLiteral("--code 2"));

    struct Case {
        const char* what;
        QStringList args;
        QString says;
    };
    const QStringList values{QStringLiteral("01055554444"), QStringLiteral("x"), QStringLiteral("1")};
    const QString plain =
        QStringLiteral("http://127.0.0.1:%1/messages/v4/send").arg(QUrl(m_gateway.url()).port());
    const Case cases[] = {
        {"no values", target, QStringLiteral("PHONE PREFIX CODE")},
        {"two values", target + values.mid(0, 2), QStringLiteral("PHONE PREFIX CODE")},
        {"an unknown option", QStringList{QStringLiteral("--sender")} + values, QStringLiteral("--sender")},
        {"an option without its value", {QStringLiteral("--endpoint")}, QStringLiteral("--endpoint")},
        {"an endpoint in the clear", QStringList{QStringLiteral("--endpoint"), plain} + values,
         QStringLiteral("https://")},
    };
    for (const Case& c : cases) {
        const auto run =
            test::runTool(QStringLiteral("vantorel-cli"), QStringList{QStringLiteral("sms")} + c.args);
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.says)) << c.what << ": " << run.err.toStdString();
    }
    EXPECT_EQ(m_gateway.accepted().size(), 2);
}

} // namespace
} // namespace vantorel
