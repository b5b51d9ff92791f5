// The settings file: whatever the file held, a written value reads back
// exactly and every other key reads as it did; a write that is refused leaves
// the file as it was.

#include "FuzzSupport.h"
#include "common/Error.h"
#include "common/ProfileIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vantorel;

namespace {

// A section or key name from one byte: a few names, so that the written key
// often meets the file's own.
QString nameFrom(quint8 b) {
    static const QStringList names{QStringLiteral("Main"), QStringLiteral("main"),
                                   QStringLiteral("Path"), QStringLiteral("DataFolder"),
                                   QStringLiteral("x"),    QStringLiteral("Key_2")};
    return names[b % names.size()];
}

struct Setting {
    QString section;
    QString key;
};

// Every section and key the file names, found the simple way.
QList<Setting> settingsIn(const QByteArray& bytes) {
    QList<Setting> found;
    QString section;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            found.append({section, line.left(eq).trimmed()});
    }
    return found;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    static QTemporaryDir dir;
    const QString section = nameFrom(fuzz::takeByte(data, size));
    const QString key = nameFrom(fuzz::takeByte(data, size));
    // The value's UTF-8 text, a NUL, the file as it was. A value is one line.
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    QString value = QString::fromUtf8(split < 0 ? input : input.left(split));
    value.remove(QLatin1Char('\n'));
    value.remove(QChar(0));
    const QByteArray before = split < 0 ? QByteArray() : input.mid(split + 1);

    const QString path = QDir(dir.path()).filePath(QStringLiteral("Vantorel.ini"));
    {
        QFile file(path);
        fuzz::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "test file written");
        file.write(before);
    }
    const QString absent = QStringLiteral("\x01absent");
    QList<std::pair<Setting, QString>> others;
    for (const Setting& s : settingsIn(before)) {
        if (s.section.compare(section, Qt::CaseInsensitive) == 0 &&
            s.key.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        others.append({s, readProfileString(path, s.section, s.key, absent)});
    }

    try {
        writeProfileString(path, section, key, value);
    } catch (const Error&) {
        fuzz::check(contents(path) == before, "a refused write leaves the file as it was");
        return 0;
    }
    fuzz::check(readProfileString(path, section, key, absent) == value, "a written value reads back exactly",
                value);
    for (const auto& [s, was] : others)
        fuzz::check(readProfileString(path, s.section, s.key, absent) == was, "other keys are untouched",
                    s.section + QLatin1Char('/') + s.key);
    return 0;
}
