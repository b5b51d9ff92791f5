#pragma once

#include <QProcess>
#include <QRegularExpressionMatch>
#include <QStringList>

namespace vantorel::test {

// The path of one of the project's own programs in the build.
QString toolPath(const QString& name);

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a tool to its end.
ToolRun runTool(const QString& name, const QStringList& arguments, int timeoutMs = 30000);

// A self-signed certificate for localhost and 127.0.0.1, made with openssl, as
// the local stand-ins present. Throws std::runtime_error when openssl fails.
void makeLocalCertificate(const QString& certificateFile, const QString& keyFile);

// Starts a tool of the project that writes a line "listening on ..." once its
// ports are open, and waits for that line: its match of `listening`. Throws
// std::runtime_error when the tool does not start or does not get that far.
QRegularExpressionMatch startListeningTool(QProcess& process, const QString& name,
                                           const QStringList& arguments, const QRegularExpression& listening);

} // namespace vantorel::test
