#include "common/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace vantorel {

ProgramFolder::ProgramFolder(QString path)
    : m_path(QDir::cleanPath(std::move(path))) {}

ProgramFolder ProgramFolder::ofExecutable() {
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::settingsFile() const {
    return QDir(m_path).filePath(QStringLiteral("settings.ini"));
}

QString ProgramFolder::dataFolder() const {
    return QDir(m_path).filePath(QStringLiteral("Data"));
}

} // namespace vantorel
