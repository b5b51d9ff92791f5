#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace vantorel {

// A slot is one calendar minute, written "YYYYMMDD_HHMM"; seconds are cut off.
QString slotStem(const QDateTime& time);
// "B" + stem + ".dat" and "S" + stem + ".dat".
QString buyFileName(const QString& stem);
QString sellFileName(const QString& stem);

// The whole file's bytes, checked to be UTF-8 text (the base64 envelope is ASCII),
// decoded from base64: the snapshot's payload. Throws Error on any failure.
QByteArray DecryptAndLoadFile(const QString& InputFile);

// Payload bytes as text: strict UTF-8, or code page 949 when they are not UTF-8
// (with the substitute character where bytes do not decode).
QString decodeSnapshotText(const QByteArray& payload);

// Calls f with each line of the text, split at CR LF, LF and CR; a final line
// break ends the last line.
template <typename F> void forEachLine(QStringView text, F&& f) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        f(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        f(text.sliced(start));
}

// The lines of the text, as forEachLine finds them.
QStringList splitLines(const QString& text);

// Replaces the buffer's lines with the snapshot's lines and returns true; on
// failure keeps them, appends one line "파일 로드 중 오류 발생: " + message and
// returns false. Never throws.
bool LoadDatFile(const QString& FilePath, QStringList& MemoBox);

// Lists every file directly inside the folder into the buffer as DirPath + "/" +
// name, or one line saying why there is none.
void LoadFilesIntoMemo(const QString& DirPath, QStringList& Memo);

} // namespace vantorel
