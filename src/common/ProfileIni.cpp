#include "common/ProfileIni.h"

#include "common/Error.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

namespace vantorel {

namespace {

struct IniText {
    QStringList lines;
    QString newline = QStringLiteral("\r\n");
};

IniText readIni(const QString& path) {
    IniText ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ini;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (!text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n')))
        ini.newline = QStringLiteral("\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ini.lines = text.split(QLatin1Char('\n'));
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast();
    return ini;
}

std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

bool isKeyLine(const QString& line, const QString& key) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

// Index range [first, end) of the section's body, or nullopt when it is missing.
std::optional<std::pair<qsizetype, qsizetype>> findSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (!name || name->compare(section, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionName(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

QString unquote(const QString& raw) {
    const QString v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

bool writeIni(const QString& path, const IniText& ini, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QString text;
    for (const QString& line : ini.lines)
        text += line + ini.newline;
    file.write(text.toUtf8());
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& fallback) {
    const IniText ini = readIni(file);
    const auto range = findSection(ini.lines, section);
    if (!range)
        return fallback;
    for (qsizetype i = range->first; i < range->second; ++i) {
        if (isKeyLine(ini.lines[i], key))
            return unquote(ini.lines[i].mid(ini.lines[i].indexOf(QLatin1Char('=')) + 1));
    }
    return fallback;
}

void writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    IniText ini = readIni(file);
    const QString line = key + QLatin1String("=\"") + value + QLatin1Char('"');
    const auto range = findSection(ini.lines, section);
    if (!range) {
        ini.lines << QLatin1Char('[') + section + QLatin1Char(']') << line;
    } else {
        qsizetype at = -1;
        for (qsizetype i = range->first; i < range->second && at < 0; ++i) {
            if (isKeyLine(ini.lines[i], key))
                at = i;
        }
        if (at >= 0) {
            ini.lines[at] = line;
        } else {
            // After the section's last non-blank line, so blank separators stay put.
            qsizetype end = range->second;
            while (end > range->first && ini.lines[end - 1].trimmed().isEmpty())
                --end;
            ini.lines.insert(end, line);
        }
    }
    QString error;
    if (!writeIni(file, ini, &error))
        throw Error(QStringLiteral("Unable to write to %1: %2").arg(file, error));
}

bool removeProfileKey(const QString& file, const QString& section, const QString& key) {
    IniText ini = readIni(file);
    const auto range = findSection(ini.lines, section);
    if (!range)
        return true;
    bool removed = false;
    for (qsizetype i = range->second - 1; i >= range->first; --i) {
        if (isKeyLine(ini.lines[i], key)) {
            ini.lines.removeAt(i);
            removed = true;
        }
    }
    QString error;
    return !removed || writeIni(file, ini, &error);
}

} // namespace vantorel
