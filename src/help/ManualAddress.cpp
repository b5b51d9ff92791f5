#include "help/ManualAddress.h"

namespace vantorel {

QString manualAddress(const QString& programFolder) {
    QString path = programFolder;
    if (!path.endsWith(QLatin1Char('\\')) && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    path += kManualFileName;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return QStringLiteral("file:///") + path;
}

} // namespace vantorel
