#include "support/ToolProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <stdexcept>

namespace vantorel::test {

QString toolPath(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

ToolRun runTool(const QString& name, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.start(toolPath(name), arguments);
    ToolRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void makeLocalCertificate(const QString& certificateFile, const QString& keyFile) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                   QStringLiteral("-keyout"), keyFile, QStringLiteral("-out"), certificateFile});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        throw std::runtime_error("openssl could not make a certificate: " +
                                 openssl.readAllStandardError().toStdString());
}

QRegularExpressionMatch startListeningTool(QProcess& process, const QString& name,
                                           const QStringList& arguments,
                                           const QRegularExpression& listening) {
    process.start(toolPath(name), arguments);
    if (!process.waitForStarted(10000))
        throw std::runtime_error(name.toStdString() + " did not start");
    QByteArray seen;
    while (process.waitForReadyRead(10000)) {
        seen += process.readAllStandardOutput();
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(seen));
        if (match.hasMatch())
            return match;
    }
    throw std::runtime_error(name.toStdString() +
                             " did not listen: " + process.readAllStandardError().toStdString());
}

} // namespace vantorel::test
