// The day index: whatever a snapshot file holds, each code the index finds
// reads as the first line of at least four fields with that code, and every
// such code is found.

#include "Envelope.h"
#include "FuzzSupport.h"
#include "live/DayIndex.h"
#include "snapshots/SnapshotFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    QTemporaryDir dir;
    const QString name = QStringLiteral("B20241127_0924.dat");
    const QByteArray payload = fuzz::bytes(data, size);
    {
        QFile file(QDir(dir.path()).filePath(name));
        fuzz::check(file.open(QIODevice::WriteOnly), "test file written");
        file.write(dataserver::encodeEnvelope(payload));
    }

    // The first line of at least four fields (empty ones count) for each code.
    QStringList lines;
    const bool loads = LoadDatFile(QDir(dir.path()).filePath(name), lines);
    QHash<QString, DayIndex::SideCount> expected;
    QStringList codes;
    if (loads) {
        for (const QString& line : lines) {
            const QStringList fields = line.split(u',');
            if (fields.size() < 4)
                continue;
            codes << fields[1];
            if (!expected.contains(fields[1]))
                expected.insert(fields[1], {fields[2], fields[3]});
        }
    }

    DayIndex index(dir.path());
    bool done = false;
    index.whenRead({name}, &index, [&done] { done = true; });
    while (!done) {
        index.waitForIdle();
        QCoreApplication::processEvents();
    }
    fuzz::check(index.state(name) == (loads ? DayIndex::State::Loaded : DayIndex::State::Failed),
                "a file that loads is indexed, one that does not is failed");
    codes << QStringLiteral("005930") << QString();
    for (const QString& code : codes) {
        const std::optional<DayIndex::SideCount> found = index.find(name, code);
        const auto want = expected.constFind(code);
        fuzz::check(found.has_value() == (want != expected.cend()), "a code is found when a line has it",
                    code);
        if (found)
            fuzz::check(found->name == want->name && found->count == want->count,
                        "the found name and count are the first line's", code);
    }
    return 0;
}
