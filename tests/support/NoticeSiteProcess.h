#pragma once

#include <QProcess>
#include <QString>

#include <memory>

namespace vantorel::test {

// A vantorel-noticesite process on ports the system picked, with a fresh
// self-signed certificate for 127.0.0.1 and a flag file in a folder of its own;
// stopped when destroyed. Throws std::runtime_error when it does not listen.
class NoticeSiteProcess {
public:
    explicit NoticeSiteProcess(const QString& folder);
    ~NoticeSiteProcess();

    quint16 httpPort() const { return m_httpPort; }
    quint16 httpsPort() const { return m_httpsPort; }
    QString certificateFile() const;
    QString flagFile() const;
    void setNoticePending(bool pending);

private:
    QString m_folder;
    std::unique_ptr<QProcess> m_process;
    quint16 m_httpPort = 0;
    quint16 m_httpsPort = 0;
};

} // namespace vantorel::test
