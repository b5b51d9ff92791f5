// Snapshot decoding: whatever the file holds, the loaded lines hold no line
// break, and a load that fails keeps the buffer and adds exactly one line. The
// envelope's base64 decoder gives what Qt's gives for the same bytes.

#include "Envelope.h"
#include "FuzzSupport.h"
#include "snapshots/Base64.h"
#include "snapshots/SnapshotFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const quint8* data, size_t size) {
    fuzz::ensureApplication();
    static QTemporaryDir dir;
    // Mode 0: the bytes are the file as it lies on disk; otherwise they are the
    // payload, sent in the envelope the data server writes.
    const bool raw = fuzz::takeByte(data, size) % 2 == 0;
    const QByteArray input = fuzz::bytes(data, size);
    fuzz::check(decodeBase64(input) == QByteArray::fromBase64(input), "base64 decodes as Qt's does");
    const QString path = QDir(dir.path()).filePath(QStringLiteral("B20241127_0924.dat"));
    {
        QFile file(path);
        fuzz::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "test file written");
        file.write(raw ? input : dataserver::encodeEnvelope(input));
    }
    const QStringList before{QStringLiteral("kept line 1"), QStringLiteral("kept line 2")};
    QStringList memo = before;
    if (LoadDatFile(path, memo)) {
        for (const QString& line : memo)
            fuzz::check(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')),
                        "a loaded line holds no CR or LF", line);
    } else {
        fuzz::check(memo.size() == before.size() + 1 && memo.mid(0, before.size()) == before,
                    "a failed load keeps the buffer and adds one line");
        fuzz::check(memo.last().startsWith(QStringLiteral("파일 로드 중 오류 발생: ")),
                    "the added line is the error", memo.last());
    }
    return 0;
}
