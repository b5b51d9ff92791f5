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
    const QString keyFile = dir.filePath(QStringLiteral("localhost.key"));
    makeLocalCertificate(certificateFile(), keyFile);
    static const QRegularExpression listening(
        QStringLiteral("listening on http [^:]+:(\\d+) https [^:]+:(\\d+)"));
    const QRegularExpressionMatch match = startListeningTool(
        *m_process, QStringLiteral("vantorel-noticesite"),
        {QStringLiteral("--http-port"), QStringLiteral("0"), QStringLiteral("--https-port"),
         QStringLiteral("0"), QStringLiteral("--cert"), certificateFile(), QStringLiteral("--key"), keyFile,
         QStringLiteral("--flag"), flagFile()},
        listening);
    m_httpPort = quint16(match.captured(1).toUInt());
    m_httpsPort = quint16(match.captured(2).toUInt());
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
