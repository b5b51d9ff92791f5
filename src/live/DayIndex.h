#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QReadWriteLock>
#include <QSet>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vantorel {

// What the day's snapshot files say of each stock: for every file, each
// stock's name and count as the single-stock view reads them (the first line
// whose code field is the stock's code and that has at least four fields).
// Files are decoded once on a thread pool, however many windows read them;
// the windows read on the thread that owns the index.
class DayIndex : public QObject {
    Q_OBJECT
public:
    // What became of a file the index has read.
    enum class State {
        Unread, // not read yet, or changed since
        Absent, // no such file
        Failed, // there, but it does not decode
        Loaded,
    };
    struct SideCount {
        QString name;
        QString count; // the field as it stands
    };

    explicit DayIndex(QString dataFolder, QObject* parent = nullptr);
    ~DayIndex() override;

    // Reads the file (again) in the background, e.g. once a reply stored it.
    void update(const QString& fileName);
    // Reads every snapshot file already in the folder.
    void updateAll();
    // Calls `done` on the index's thread once each file has been read as it
    // is now; at once when all of them have. Nothing is called once `context`
    // is gone.
    void whenRead(const QStringList& fileNames, QObject* context, std::function<void()> done);

    // Whether each file has been read as it is now.
    bool isRead(const QStringList& fileNames) const;
    // As the file was when last read.
    State state(const QString& fileName) const;
    std::optional<SideCount> find(const QString& fileName, const QString& code) const;

    // Bytes the index holds, roughly.
    qint64 memoryUse() const;
    // Waits until nothing is being read.
    void waitForIdle();

signals:
    void fileRead(const QString& fileName);

private:
    struct Entry {
        quint32 code;
        quint32 name;
        quint32 count;
        friend bool operator<(const Entry& a, const Entry& b) { return a.code < b.code; }
    };
    struct FileRecord {
        State state = State::Unread;
        qint64 size = -1;
        QDateTime modified;
        std::vector<Entry> entries; // by code, one per code
    };
    struct Waiter {
        QSet<QString> missing;
        QPointer<QObject> context;
        std::function<void()> done;
    };
    struct ViewHash {
        using is_transparent = void;
        size_t operator()(QStringView v) const { return qHash(v); }
    };
    struct ViewEqual {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const { return a == b; }
    };

    bool isCurrent(const QString& fileName) const;
    void read(const QString& fileName, quint64 generation);
    void finished(const QString& fileName, quint64 generation);
    quint32 intern(QStringView text);
    // The id of a text already known, or 0 (no text has id 0 but the empty one,
    // which is found by hashing).
    quint32 knownCode(size_t line, QStringView code) const;
    quint32 knownName(quint32 code, QStringView name) const;
    quint32 knownCount(QStringView count) const;
    quint32 known(QStringView text) const;
    void remember(size_t line, const Entry& entry, QStringView count);

    QString m_folder;
    QThreadPool m_pool;

    // Shared with the pool: guarded by m_lock.
    mutable QReadWriteLock m_lock;
    QHash<QString, FileRecord> m_files;
    QHash<QString, quint64> m_generations;
    std::unordered_map<QString, quint32, ViewHash, ViewEqual> m_ids;
    QStringList m_texts;
    // Files of a day list the same stocks in the same order with the same
    // names, and most counts are small numbers: these answer most look-ups
    // without hashing. The code met last at each line, the name met last with
    // each code, the id of each small count.
    std::vector<quint32> m_codeAtLine;
    std::vector<quint32> m_nameOfCode;
    std::vector<quint32> m_smallCount;

    // The index's thread only.
    QSet<QString> m_reading;
    std::vector<Waiter> m_waiters;
};

} // namespace vantorel
