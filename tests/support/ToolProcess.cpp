#include "support/ToolProcess.h"

#include <QCoreApplication>
#include <QDir>

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

} // namespace vantorel::test
