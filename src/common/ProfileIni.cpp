#include "common/ProfileIni.h"

#include "common/Error.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace vantorel {

namespace {

// One line as it stands in the file, and its text for matching.
struct IniLine {
    QByteArray raw; // with its line ending, if it has one
    QString text;   // decoded, without line ending or byte-order mark
};

// The file's lines. Lines that are not changed are written back byte for
// byte; a changed or new line is written in the file's own encoding.
struct IniText {
    QList<IniLine> lines;
    QByteArray newline = "\r\n";
    bool latin1 = false;

    QStringList texts() const {
        QStringList t;
        for (const IniLine& l : lines)
            t << l.text;
        return t;
    }
};

// A missing file reads as empty. One that exists but cannot be read is an
// error: writing it would replace what could not be seen.
std::optional<IniText> readIni(const QString& path, QString* error) {
    IniText ini;
    QFile file(path);
    if (!file.exists())
        return ini;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bom = "\xEF\xBB\xBF";
    ini.latin1 = !QByteArrayView(bytes).sliced(bytes.startsWith(bom) ? bom.size() : 0).isValidUtf8();
    if (bytes.contains("\r\n"))
        ini.newline = "\r\n";
    else if (bytes.contains('\n'))
        ini.newline = "\n";
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        end = end < 0 ? bytes.size() : end + 1;
        IniLine line{bytes.mid(from, end - from), {}};
        QByteArray content = line.raw;
        if (content.endsWith('\n'))
            content.chop(1);
        if (content.endsWith('\r'))
            content.chop(1);
        if (from == 0 && content.startsWith(bom))
            content.remove(0, bom.size());
        line.text = ini.latin1 ? QString::fromLatin1(content) : QString::fromUtf8(content);
        ini.lines << line;
        from = end;
    }
    return ini;
}

IniText readIniForWriting(const QString& path) {
    QString error;
    std::optional<IniText> ini = readIni(path, &error);
    if (!ini)
        throw Error(QStringLiteral("Unable to write to %1: %2").arg(path, error));
    return *ini;
}

// A changed or new line, in the file's encoding.
IniLine makeLine(const IniText& ini, const QString& path, const QString& text) {
    if (ini.latin1) {
        for (const QChar c : text) {
            if (c.unicode() > 0xFF)
                throw Error(QStringLiteral("Unable to write to %1: %2")
                                .arg(path, QStringLiteral("the text does not fit the file's encoding")));
        }
        return {text.toLatin1() + ini.newline, text};
    }
    return {text.toUtf8() + ini.newline, text};
}

void insertLine(IniText& ini, qsizetype at, IniLine line) {
    // The line before may be the file's last one, without a line ending.
    if (at > 0 && !ini.lines[at - 1].raw.endsWith('\n'))
        ini.lines[at - 1].raw += ini.newline;
    ini.lines.insert(at, std::move(line));
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

void writeIni(const QString& path, const IniText& ini) {
    QSaveFile file(path);
    QByteArray bytes;
    for (const IniLine& line : ini.lines)
        bytes += line.raw;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Unable to write to %1: %2").arg(path, file.errorString()));
}

} // namespace

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& fallback) {
    QString error;
    const std::optional<IniText> ini = readIni(file, &error);
    if (!ini)
        return fallback;
    const QStringList lines = ini->texts();
    const auto range = findSection(lines, section);
    if (!range)
        return fallback;
    for (qsizetype i = range->first; i < range->second; ++i) {
        if (isKeyLine(lines[i], key))
            return unquote(lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1));
    }
    return fallback;
}

void writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    IniText ini = readIniForWriting(file);
    const QStringList lines = ini.texts();
    const IniLine line = makeLine(ini, file, key + QLatin1String("=\"") + value + QLatin1Char('"'));
    const auto range = findSection(lines, section);
    if (!range) {
        insertLine(ini, ini.lines.size(), makeLine(ini, file, QLatin1Char('[') + section + QLatin1Char(']')));
        insertLine(ini, ini.lines.size(), line);
    } else {
        qsizetype at = -1;
        for (qsizetype i = range->first; i < range->second && at < 0; ++i) {
            if (isKeyLine(lines[i], key))
                at = i;
        }
        if (at >= 0) {
            // The line keeps its own ending.
            const bool ended = ini.lines[at].raw.endsWith('\n');
            ini.lines[at] = line;
            if (!ended)
                ini.lines[at].raw.chop(ini.newline.size());
        } else {
            // After the section's last non-blank line, so blank separators stay put.
            qsizetype end = range->second;
            while (end > range->first && lines[end - 1].trimmed().isEmpty())
                --end;
            insertLine(ini, end, line);
        }
    }
    writeIni(file, ini);
}

void removeProfileKey(const QString& file, const QString& section, const QString& key) {
    IniText ini = readIniForWriting(file);
    const QStringList lines = ini.texts();
    const auto range = findSection(lines, section);
    if (!range)
        return;
    bool removed = false;
    for (qsizetype i = range->second - 1; i >= range->first; --i) {
        if (isKeyLine(lines[i], key)) {
            ini.lines.removeAt(i);
            removed = true;
        }
    }
    if (removed)
        writeIni(file, ini);
}

} // namespace vantorel
