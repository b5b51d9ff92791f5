#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>

namespace vantorel::test {

// The path of one of the project's own programs in the build.
QString toolPath(const QString& name);

// A vantorel-dataserver on a port the system picked; stopped when destroyed.
class DataServerProcess {
public:
    explicit DataServerProcess(const QStringList& arguments);
    ~DataServerProcess();
    quint16 port() const { return m_port; }

private:
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a tool to its end.
ToolRun runTool(const QString& name, const QStringList& arguments, int timeoutMs = 30000);

} // namespace vantorel::test
