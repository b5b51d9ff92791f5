#include "support/SmsGatewayProcess.h"

#include "support/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

#include <stdexcept>

namespace vantorel::test {

SmsGatewayProcess::SmsGatewayProcess(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>()) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                   QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("localhost.key")),
                   QStringLiteral("-out"), certificateFile()});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a certificate: " +
                                 openssl.readAllStandardError().toStdString());

    m_process->start(toolPath(QStringLiteral("vantorel-smsgateway")),
                     QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--cert"),
                                 certificateFile(), QStringLiteral("--key"),
                                 m_dir.filePath(QStringLiteral("localhost.key")), QStringLiteral("--log"),
                                 m_dir.filePath(QStringLiteral("sms.log"))} +
                         arguments);
    if (!m_process->waitForStarted(10000))
        throw std::runtime_error("vantorel-smsgateway did not start");
    static const QRegularExpression listening(QStringLiteral("listening on [^:]+:(\\d+)"));
    QByteArray seen;
    while (m_process->waitForReadyRead(10000)) {
        seen += m_process->readAllStandardOutput();
        const auto match = listening.match(QString::fromUtf8(seen));
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            return;
        }
    }
    throw std::runtime_error("vantorel-smsgateway did not listen: " +
                             m_process->readAllStandardError().toStdString());
}

SmsGatewayProcess::~SmsGatewayProcess() {
    m_process->kill();
    m_process->waitForFinished(5000);
}

QString SmsGatewayProcess::url() const {
    return QStringLiteral("https://127.0.0.1:%1/messages/v4/send").arg(m_port);
}

QString SmsGatewayProcess::certificateFile() const {
    return m_dir.filePath(QStringLiteral("localhost.crt"));
}

SmsConfig SmsGatewayProcess::config() const {
    SmsConfig config = Config::fromBuild().sms;
    config.url = url();
    config.caFile = certificateFile();
    return config;
}

QList<QJsonObject> SmsGatewayProcess::accepted() const {
    QFile log(m_dir.filePath(QStringLiteral("sms.log")));
    QList<QJsonObject> messages;
    if (!log.open(QIODevice::ReadOnly))
        return messages;
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (!line.isEmpty())
            messages << QJsonDocument::fromJson(line).object();
    }
    return messages;
}

} // namespace vantorel::test
