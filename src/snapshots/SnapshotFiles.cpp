#include "snapshots/SnapshotFiles.h"

#include "common/Error.h"
#include "snapshots/Base64.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>

namespace vantorel {

QString slotStem(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyyMMdd_HHmm"));
}

QString buyFileName(const QString& stem) {
    return QLatin1Char('B') + stem + QLatin1String(".dat");
}

QString sellFileName(const QString& stem) {
    return QLatin1Char('S') + stem + QLatin1String(".dat");
}

QByteArray DecryptAndLoadFile(const QString& InputFile) {
    QFile file(InputFile);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(InputFile, file.errorString()));
    const QByteArray envelope = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read file \"%1\". %2").arg(InputFile, file.errorString()));
    // The envelope is base64 text; anything that is not even UTF-8 is no envelope.
    if (!QByteArrayView(envelope).isValidUtf8())
        throw Error(QStringLiteral("The file \"%1\" is not UTF-8 text.").arg(InputFile));
    // Line breaks, "=" and every other character outside the alphabet are skipped.
    return decodeBase64(envelope);
}

QString decodeSnapshotText(const QByteArray& payload) {
    // A byte-order mark stays the first character of the header line.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(payload);
    if (!utf8.hasError())
        return text;
    // "windows-949" is the real code page (Unified Hangul Code included); Qt's
    // "CP949" would be IBM-949.
    // The decoder holds back a lead byte at the very end instead of substituting
    // it; a line feed after it makes it decode (to the substitute) and is cut again.
    QStringDecoder cp949("windows-949", QStringDecoder::Flag::Stateless);
    QString fallback = cp949.decode(payload + '\n');
    fallback.chop(1);
    return fallback;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    forEachLine(text, [&](QStringView line) { lines << line.toString(); });
    return lines;
}

bool LoadDatFile(const QString& FilePath, QStringList& MemoBox) {
    try {
        MemoBox = splitLines(decodeSnapshotText(DecryptAndLoadFile(FilePath)));
        return true;
    } catch (const Error& e) {
        MemoBox << QStringLiteral("파일 로드 중 오류 발생: ") + e.text();
    } catch (const std::exception& e) {
        MemoBox << QStringLiteral("파일 로드 중 오류 발생: ") + QString::fromLocal8Bit(e.what());
    }
    return false;
}

void LoadFilesIntoMemo(const QString& DirPath, QStringList& Memo) {
    const QDir dir(DirPath);
    if (!QFileInfo(DirPath).isDir()) {
        Memo << QStringLiteral("디렉토리가 존재하지 않습니다: ") + DirPath;
        return;
    }
    if (!dir.isReadable()) {
        Memo << QStringLiteral("오류 발생: ") + QStringLiteral("Cannot read directory \"%1\".").arg(DirPath);
        return;
    }
    Memo.clear();
    QString prefix = DirPath;
    prefix.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    QDirIterator it(DirPath, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        Memo << prefix + it.fileName();
    }
    if (Memo.isEmpty())
        Memo << QStringLiteral("디렉토리에 파일이 없습니다.");
}

} // namespace vantorel
