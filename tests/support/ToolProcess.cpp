#include "support/ToolProcess.h"

#include <QDir>
#include <QRegularExpression>

#include <stdexcept>

namespace vantorel::test {

QString toolPath(const QString& name) {
    return QDir(QStringLiteral(VANTOREL_BIN_DIR)).filePath(name);
}

DataServerProcess::DataServerProcess(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>()) {
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(toolPath(QStringLiteral("vantorel-dataserver")),
                     QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (!m_process->waitForStarted(10000))
        throw std::runtime_error("vantorel-dataserver did not start");
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
    throw std::runtime_error("vantorel-dataserver did not listen: " +
                             m_process->readAllStandardError().toStdString());
}

DataServerProcess::~DataServerProcess() {
    m_process->kill();
    m_process->waitForFinished(5000);
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

} // namespace vantorel::test
