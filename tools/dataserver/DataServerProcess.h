#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>

namespace vantorel::dataserver {

// A vantorel-dataserver process, found beside the running program, on a port
// the system picked; stopped when destroyed. Throws std::runtime_error when it
// does not start listening.
class DataServerProcess {
public:
    explicit DataServerProcess(const QStringList& arguments);
    ~DataServerProcess();
    quint16 port() const { return m_port; }

private:
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

} // namespace vantorel::dataserver
