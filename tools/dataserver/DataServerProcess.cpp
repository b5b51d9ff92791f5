#include "DataServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <stdexcept>

namespace vantorel::dataserver {

DataServerProcess::DataServerProcess(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>()) {
    m_process->start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vantorel-dataserver")),
        QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (!m_process->waitForStarted(10000))
        throw std::runtime_error("vantorel-dataserver did not start");
    // It prints "listening on ADDR:PORT" once it listens.
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

} // namespace vantorel::dataserver
