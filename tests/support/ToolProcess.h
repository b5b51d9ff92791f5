#pragma once

#include <QProcess>
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

} // namespace vantorel::test
