#include "live/DayIndex.h"

#include "common/Error.h"
#include "snapshots/SnapshotFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace vantorel {

namespace {

// A stock's line as the index keeps it, still pointing into the decoded text.
struct LineFields {
    QStringView code;
    QStringView name;
    QStringView count;
};

// Lines of at least four ","-separated fields (empty ones count), in order.
std::vector<LineFields> stockLines(QStringView text) {
    std::vector<LineFields> lines;
    forEachLine(text, [&](QStringView line) {
        // One pass for the first four commas: a search call for each costs more
        // than the look at a short line.
        qsizetype comma[4];
        int found = 0;
        for (qsizetype i = 0; i < line.size() && found < 4; ++i) {
            if (line[i] == u',')
                comma[found++] = i;
        }
        if (found < 3)
            return;
        const qsizetype end = found == 4 ? comma[3] : line.size();
        lines.push_back({line.sliced(comma[0] + 1, comma[1] - comma[0] - 1),
                         line.sliced(comma[1] + 1, comma[2] - comma[1] - 1),
                         line.sliced(comma[2] + 1, end - comma[2] - 1)});
    });
    return lines;
}

} // namespace

DayIndex::DayIndex(QString dataFolder, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(dataFolder)) {
    m_texts << QString(); // id 0 is no text
    m_ids.emplace(QString(), 0);
}

DayIndex::~DayIndex() {
    m_pool.waitForDone();
}

void DayIndex::update(const QString& fileName) {
    quint64 generation = 0;
    {
        QWriteLocker lock(&m_lock);
        generation = ++m_generations[fileName];
    }
    m_reading.insert(fileName);
    m_pool.start([this, fileName, generation] { read(fileName, generation); });
}

void DayIndex::updateAll() {
    static const QRegularExpression snapshotName(QStringLiteral("^[BS]\\d{8}_\\d{4}\\.dat$"));
    const QStringList names = QDir(m_folder).entryList(QDir::Files);
    for (const QString& name : names) {
        if (snapshotName.match(name).hasMatch())
            update(name);
    }
}

bool DayIndex::isCurrent(const QString& fileName) const {
    const QFileInfo info(QDir(m_folder).filePath(fileName));
    QReadLocker lock(&m_lock);
    const auto it = m_files.constFind(fileName);
    if (it == m_files.cend() || it->state == State::Unread)
        return false;
    if (!info.exists())
        return it->state == State::Absent;
    return it->state != State::Absent && it->size == info.size() && it->modified == info.lastModified();
}

void DayIndex::whenRead(const QStringList& fileNames, QObject* context, std::function<void()> done) {
    Waiter waiter{{}, context, std::move(done)};
    for (const QString& name : fileNames) {
        if (isCurrent(name))
            continue;
        waiter.missing.insert(name);
        if (!m_reading.contains(name))
            update(name);
    }
    if (waiter.missing.isEmpty())
        waiter.done();
    else
        m_waiters.push_back(std::move(waiter));
}

bool DayIndex::isRead(const QStringList& fileNames) const {
    return std::all_of(fileNames.begin(), fileNames.end(),
                       [this](const QString& name) { return isCurrent(name); });
}

DayIndex::State DayIndex::state(const QString& fileName) const {
    QReadLocker lock(&m_lock);
    const auto it = m_files.constFind(fileName);
    return it == m_files.cend() ? State::Unread : it->state;
}

std::optional<DayIndex::SideCount> DayIndex::find(const QString& fileName, const QString& code) const {
    QReadLocker lock(&m_lock);
    const auto file = m_files.constFind(fileName);
    const auto id = m_ids.find(QStringView(code));
    if (file == m_files.cend() || id == m_ids.end())
        return std::nullopt;
    const auto at = std::lower_bound(file->entries.begin(), file->entries.end(), Entry{id->second, 0, 0});
    if (at == file->entries.end() || at->code != id->second)
        return std::nullopt;
    return SideCount{m_texts[at->name], m_texts[at->count]};
}

qint64 DayIndex::memoryUse() const {
    QReadLocker lock(&m_lock);
    qint64 bytes = 0;
    for (const FileRecord& file : m_files)
        bytes += qint64(sizeof(FileRecord) + file.entries.capacity() * sizeof(Entry));
    for (const QString& text : m_texts)
        bytes += qint64(sizeof(QString) + text.capacity() * 2 + 64); // the map's node, roughly
    return bytes;
}

void DayIndex::waitForIdle() {
    m_pool.waitForDone();
}

namespace {

// The value of a count written as the program writes small numbers ("0",
// "17"), or -1.
int smallNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 5 || (text.size() > 1 && text[0] == u'0'))
        return -1;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

constexpr int kSmallCounts = 100000;

} // namespace

quint32 DayIndex::known(QStringView text) const {
    const auto it = m_ids.find(text);
    return it == m_ids.end() ? 0 : it->second;
}

quint32 DayIndex::knownCode(size_t line, QStringView code) const {
    if (line < m_codeAtLine.size() && m_codeAtLine[line] && m_texts[m_codeAtLine[line]] == code)
        return m_codeAtLine[line];
    return known(code);
}

quint32 DayIndex::knownName(quint32 code, QStringView name) const {
    if (code < m_nameOfCode.size() && m_nameOfCode[code] && m_texts[m_nameOfCode[code]] == name)
        return m_nameOfCode[code];
    return name.isEmpty() ? 0 : known(name);
}

quint32 DayIndex::knownCount(QStringView count) const {
    const int value = smallNumber(count);
    if (value >= 0 && size_t(value) < m_smallCount.size() && m_smallCount[value])
        return m_smallCount[value];
    return count.isEmpty() ? 0 : known(count);
}

void DayIndex::remember(size_t line, const Entry& entry, QStringView count) {
    if (m_codeAtLine.size() <= line)
        m_codeAtLine.resize(line + 1);
    m_codeAtLine[line] = entry.code;
    if (m_nameOfCode.size() <= entry.code)
        m_nameOfCode.resize(entry.code + 1);
    m_nameOfCode[entry.code] = entry.name;
    if (const int value = smallNumber(count); value >= 0) {
        if (m_smallCount.empty())
            m_smallCount.resize(kSmallCounts);
        m_smallCount[value] = entry.count;
    }
}

quint32 DayIndex::intern(QStringView text) {
    const auto it = m_ids.find(text);
    if (it != m_ids.end())
        return it->second;
    const quint32 id = quint32(m_texts.size());
    m_texts << text.toString();
    m_ids.emplace(m_texts.last(), id);
    return id;
}

void DayIndex::read(const QString& fileName, quint64 generation) {
    const QString path = QDir(m_folder).filePath(fileName);
    FileRecord record;
    const QFileInfo info(path);
    QString text;
    if (!info.exists()) {
        record.state = State::Absent;
    } else {
        record.size = info.size();
        record.modified = info.lastModified();
        try {
            text = decodeSnapshotText(DecryptAndLoadFile(path));
            record.state = State::Loaded;
        } catch (const Error&) {
            record.state = State::Failed;
        }
    }
    const std::vector<LineFields> lines = stockLines(text);

    // Most texts are known already: look them up side by side with readers,
    // and take the lock for writing only for the new ones and the record.
    std::vector<Entry> entries(lines.size());
    {
        QReadLocker lock(&m_lock);
        for (size_t i = 0; i < lines.size(); ++i) {
            const quint32 code = knownCode(i, lines[i].code);
            const quint32 name = code ? knownName(code, lines[i].name) : 0;
            const quint32 count = knownCount(lines[i].count);
            if (!code || !name || !count) {
                entries[i].code = quint32(-1);
                continue;
            }
            entries[i] = {code, name, count};
        }
    }
    QWriteLocker lock(&m_lock);
    if (m_generations.value(fileName) != generation)
        return; // a newer reading is on its way
    for (size_t i = 0; i < lines.size(); ++i) {
        if (entries[i].code == quint32(-1))
            entries[i] = {intern(lines[i].code), intern(lines[i].name), intern(lines[i].count)};
        remember(i, entries[i], lines[i].count);
    }
    // The first line of each code is the one that counts.
    std::stable_sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry& a, const Entry& b) { return a.code == b.code; }),
                  entries.end());
    entries.shrink_to_fit();
    record.entries = std::move(entries);
    m_files.insert(fileName, std::move(record));
    lock.unlock();
    QMetaObject::invokeMethod(
        this, [this, fileName, generation] { finished(fileName, generation); }, Qt::QueuedConnection);
}

void DayIndex::finished(const QString& fileName, quint64 generation) {
    {
        QReadLocker lock(&m_lock);
        if (m_generations.value(fileName) != generation)
            return;
    }
    m_reading.remove(fileName);
    emit fileRead(fileName);
    // A waiter's callback may add waiters: take the ready ones out first.
    std::vector<Waiter> ready;
    for (auto it = m_waiters.begin(); it != m_waiters.end();) {
        it->missing.remove(fileName);
        if (it->missing.isEmpty()) {
            ready.push_back(std::move(*it));
            it = m_waiters.erase(it);
        } else {
            ++it;
        }
    }
    for (Waiter& waiter : ready) {
        if (waiter.context)
            waiter.done();
    }
}

} // namespace vantorel
