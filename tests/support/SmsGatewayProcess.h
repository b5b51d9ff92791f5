#pragma once

#include "common/Config.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace vantorel::test {

// A vantorel-smsgateway process on a loopback port the system picked, with the
// build's key, secret and sender unless the arguments say otherwise, presenting a
// certificate made for it with openssl. Stopped when destroyed. Throws
// std::runtime_error when it does not start listening.
class SmsGatewayProcess {
public:
    explicit SmsGatewayProcess(const QStringList& arguments = {});
    ~SmsGatewayProcess();

    quint16 port() const { return m_port; }
    QString url() const;
    // The PEM certificate it presents, for the client to trust.
    QString certificateFile() const;
    // The build's gateway settings, pointed at this process.
    SmsConfig config() const;
    // The messages it accepted, oldest first.
    QList<QJsonObject> accepted() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

} // namespace vantorel::test
