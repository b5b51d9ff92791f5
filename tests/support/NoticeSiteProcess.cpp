#include "support/NoticeSiteProcess.h"

#include "support/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

namespace vantorel::test {

NoticeSiteProcess::NoticeSiteProcess(const QString& folder)
    : m_folder(folder)
    , m_process(std::make_unique<QProcess>()) {
    const QDir dir(folder);
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                   QStringLiteral("-keyout"), dir.filePath(QStringLiteral("localhost.key")),
                   QStringLiteral("-out"), certificateFile()});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a certificate: " +
                                 openssl.readAllStandardError().toStdString());

    m_process->start(toolPath(QStringLiteral("vantorel-noticesite")),
                     {QStringLiteral("--http-port"), QStringLiteral("0"), QStringLiteral("--https-port"),
                      QStringLiteral("0"), QStringLiteral("--cert"), certificateFile(),
                      QStringLiteral("--key"), dir.filePath(QStringLiteral("localhost.key")),
                      QStringLiteral("--flag"), flagFile()});
    if (!m_process->waitForStarted(10000))
        throw std::runtime_error("vantorel-noticesite did not start");
    static const QRegularExpression listening(
        QStringLiteral("listening on http [^:]+:(\\d+) https [^:]+:(\\d+)"));
    QByteArray seen;
    while (m_process->waitForReadyRead(10000)) {
        seen += m_process->readAllStandardOutput();
        const auto match = listening.match(QString::fromUtf8(seen));
        if (match.hasMatch()) {
            m_httpPort = quint16(match.captured(1).toUInt());
            m_httpsPort = quint16(match.captured(2).toUInt());
            return;
        }
    }
    throw std::runtime_error("vantorel-noticesite did not listen: " +
                             m_process->readAllStandardError().toStdString());
}

NoticeSiteProcess::~NoticeSiteProcess() {
    m_process->kill();
    m_process->waitForFinished(5000);
}

QString NoticeSiteProcess::certificateFile() const {
    return QDir(m_folder).filePath(QStringLiteral("localhost.crt"));
}

QString NoticeSiteProcess::flagFile() const {
    return QDir(m_folder).filePath(QStringLiteral("notice-pending"));
}

void NoticeSiteProcess::setNoticePending(bool pending) {
    if (!pending) {
        QFile::remove(flagFile());
        return;
    }
    QFile flag(flagFile());
    if (!flag.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot make the flag file");
}

} // namespace vantorel::test
