#include "snapshots/SnapshotFiles.h"
#include "Envelope.h"
#include "snapshots/Base64.h"
#include "support/QtPrinters.h"
#include "support/Vectors.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace vantorel {
namespace {

using dataserver::encodeEnvelope;

class SnapshotFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(m_dir.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(SnapshotFiles, NamesFollowTheSlotMinute) {
    const QDateTime t(QDate(2024, 11, 27), QTime(9, 24, 59, 999));
    EXPECT_EQ(slotStem(t), QStringLiteral("20241127_0924"));
    EXPECT_EQ(buyFileName(slotStem(t)), QStringLiteral("B20241127_0924.dat"));
    EXPECT_EQ(sellFileName(slotStem(QDateTime(QDate(2025, 3, 5), QTime(15, 20)))),
              QStringLiteral("S20250305_1520.dat"));
    EXPECT_EQ(buyFileName(slotStem(t)).size(), 18);
}

TEST_F(SnapshotFiles, LoadsEveryEnvelopeShapeToTheSameLines) {
    const QByteArray payload = "Time,Stock Code,Stock Name,Occurrences\r\n"
                               "093015,005930,삼성전자,12\r\n"
                               "101500,000660,에스케이하이닉스,3\n"
                               "111111,035420,네이버,0\r"
                               "121212,051910,엘지화학,7";
    const QStringList expected{
        QStringLiteral("Time,Stock Code,Stock Name,Occurrences"), QStringLiteral("093015,005930,삼성전자,12"),
        QStringLiteral("101500,000660,에스케이하이닉스,3"), QStringLiteral("111111,035420,네이버,0"),
        QStringLiteral("121212,051910,엘지화학,7")};
    const QByteArray oneLine = payload.toBase64();
    const QByteArray shapes[] = {encodeEnvelope(payload), oneLine, oneLine + "\r\n",
                                 QByteArray(oneLine).replace('=', "")};
    for (const QByteArray& envelope : shapes) {
        QStringList memo{QStringLiteral("old")};
        EXPECT_TRUE(LoadDatFile(write(QStringLiteral("B20250305_0910.dat"), envelope), memo));
        EXPECT_EQ(memo, expected) << envelope.left(40).toStdString();
    }
    EXPECT_TRUE(encodeEnvelope(payload).contains("\r\n"));
}

TEST_F(SnapshotFiles, DecodesCodePage949AndKeepsAByteOrderMark) {
    struct Case {
        const char* what;
        QByteArray payload;
        QStringList lines;
    };
    const Case cases[] = {
        // "삼성" in CP949 (B B C F BC BA), and a UHC-extension syllable "갂" (81 41).
        {"CP949",
         "h\r\n1,005930,\xBB\xEF\xBC\xBA\x81\x41,3\r\n",
         {QStringLiteral("h"), QStringLiteral("1,005930,삼성갂,3")}},
        {"BOM", "\xEF\xBB\xBFTime,Code\r\nx", {QStringLiteral("\uFEFFTime,Code"), QStringLiteral("x")}},
        {"empty", "", {}},
        {"only a break", "\r\n", {QString()}},
    };
    for (const Case& c : cases) {
        QStringList memo{QStringLiteral("old")};
        EXPECT_TRUE(LoadDatFile(write(QStringLiteral("f.dat"), encodeEnvelope(c.payload)), memo)) << c.what;
        EXPECT_EQ(memo, c.lines) << c.what;
    }
}

TEST_F(SnapshotFiles, AFailedLoadKeepsTheBufferAndAppendsOneLine) {
    QStringList memo{QStringLiteral("kept")};
    const QString missing = QDir(m_dir.path()).filePath(QStringLiteral("none.dat"));
    EXPECT_FALSE(LoadDatFile(missing, memo));
    ASSERT_EQ(memo.size(), 2);
    EXPECT_EQ(memo[0], QStringLiteral("kept"));
    EXPECT_TRUE(memo[1].startsWith(QStringLiteral("파일 로드 중 오류 발생: "))) << memo[1].toStdString();
    EXPECT_TRUE(memo[1].contains(missing));

    // An envelope that is not even UTF-8.
    EXPECT_FALSE(LoadDatFile(write(QStringLiteral("bad.dat"), "QUJD\xFF\xFE"), memo));
    EXPECT_EQ(memo.size(), 3);
    EXPECT_TRUE(memo[2].startsWith(QStringLiteral("파일 로드 중 오류 발생: ")));
}

// The Unicode standard's well-formedness table: overlong forms, surrogates and
// truncated sequences are not UTF-8, so the payload is read as code page 949.
TEST(SnapshotText, StrictUtf8DecidesWhenCodePage949IsUsed) {
    int checked = 0;
    for (const QList<QByteArray>& cols : test::vectorRows("utf8_cases.tsv")) {
        if (cols.size() < 3)
            continue;
        const QByteArray bytes = QByteArray::fromHex(cols[0]);
        const QString text = decodeSnapshotText(bytes);
        QStringDecoder cp949("windows-949", QStringDecoder::Flag::Stateless);
        QString expected;
        if (cols[1] == "valid") {
            for (const QByteArray& cp : cols[2].split(' ')) {
                const auto units = QChar::fromUcs4(char32_t(cp.mid(2).toUInt(nullptr, 16)));
                expected += QStringView(units);
            }
        } else {
            expected = QString(cp949.decode(bytes + '\n')).chopped(1);
        }
        EXPECT_EQ(text, expected) << cols[0].toStdString() << " " << cols[1].toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

// WHATWG's index of code page 949, UHC extension rows included. Windows' own
// table differs in two places the index leaves empty: it maps the user-defined
// row C9 to the private use area and the lone byte 80 to U+0080.
TEST(SnapshotText, DecodesCodePage949LikeWindows) {
    int checked = 0;
    for (const QList<QByteArray>& cols : test::vectorRows("cp949_cases.tsv")) {
        if (cols.size() < 5)
            continue;
        // "가" in code page 949 is no UTF-8, so the whole payload goes to code page 949.
        const QByteArray bytes = QByteArray::fromHex(cols[0]);
        const QString text = decodeSnapshotText("\xB0\xA1" + bytes);
        QString expected = QStringLiteral("가");
        if (cols[1] != "ERROR")
            expected += QChar(char16_t(cols[1].toUInt(nullptr, 16)));
        else if (cols[0] == "C9A1")
            expected += QChar(0xE000);
        else if (cols[0] == "80")
            expected += QChar(0x80);
        else if (cols[0] == "8120")
            expected += QStringLiteral("\uFFFD ");
        else
            expected += QChar(0xFFFD);
        EXPECT_EQ(text, expected) << cols[0].toStdString() << " " << cols[4].toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

// The envelope's decoder must give what Qt's lenient one gives, byte for byte,
// for any text: the group-of-four path and the character path meet at every
// kind of skipped character and at every offset.
TEST(Base64, DecodesExactlyAsQtDoes) {
    const QByteArray cases[] = {
        "",
        "=",
        "QQ",
        "QUI",
        "QUJD",
        "QUJDRA==",
        "QUJDRA==QUJD",
        "QU\nJDRA",
        "QUJD\r\nREVG\r\n",
        "Q=U=J=D",
        " QUJDREVG",
        "QUJ-_DREVG",
        "QUJD\x80\xffREVG",
        "////++++AAAA",
    };
    for (const QByteArray& text : cases)
        EXPECT_EQ(decodeBase64(text), QByteArray::fromBase64(text)) << text.toStdString();

    // Mostly the alphabet, with a skipped character now and then.
    const QByteArray pool =
        QByteArrayLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
                          "\r\n= -_\x00\x80");
    QRandomGenerator random(20241127);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text(random.bounded(40), Qt::Uninitialized);
        for (char& c : text)
            c = pool[random.bounded(int(pool.size()))];
        ASSERT_EQ(decodeBase64(text), QByteArray::fromBase64(text)) << text.toHex().toStdString();
    }
}

TEST_F(SnapshotFiles, ListsTheFilesOfAFolderOnly) {
    QStringList memo{QStringLiteral("x")};
    const QString data = QDir(m_dir.path()).filePath(QStringLiteral("Data"));
    LoadFilesIntoMemo(data, memo);
    EXPECT_EQ(memo,
              (QStringList{QStringLiteral("x"), QStringLiteral("디렉토리가 존재하지 않습니다: ") + data}));

    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/sub")));
    LoadFilesIntoMemo(data, memo);
    EXPECT_EQ(memo, QStringList{QStringLiteral("디렉토리에 파일이 없습니다.")});

    write(QStringLiteral("Data/B20250305_0910.dat"), "x");
    LoadFilesIntoMemo(data, memo);
    EXPECT_EQ(memo, QStringList{data + QStringLiteral("/B20250305_0910.dat")});
}

} // namespace
} // namespace vantorel
