#include "support/SmsGatewayProcess.h"

#include "support/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

namespace vantorel::test {

SmsGatewayProcess::SmsGatewayProcess(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>()) {
    const QString keyFile = m_dir.filePath(QStringLiteral("localhost.key"));
    makeLocalCertificate(certificateFile(), keyFile);
    static const QRegularExpression listening(QStringLiteral("listening on [^:]+:(\\d+)"));
    const QRegularExpressionMatch match = startListeningTool(
        *m_process, QStringLiteral("vantorel-smsgateway"),
        QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--cert"),
                    certificateFile(), QStringLiteral("--key"), keyFile, QStringLiteral("--log"),
                    m_dir.filePath(QStringLiteral("sms.log"))} +
            arguments,
        listening);
    m_port = quint16(match.captured(1).toUInt());
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
