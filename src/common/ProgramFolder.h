#pragma once

#include <QString>

namespace vantorel {

// The folder that holds the executable: settings.ini and the data folder live
// there. Tests point it at a temporary folder.
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    // The folder of the running executable (not the working directory).
    static ProgramFolder ofExecutable();

    const QString& path() const { return m_path; }
    QString settingsFile() const;
    // The one folder where snapshot files live.
    QString dataFolder() const;

private:
    QString m_path;
};

} // namespace vantorel
