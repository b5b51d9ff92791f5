#include "common/PasswordDigest.h"

#include "support/QtPrinters.h"
#include "support/Vectors.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace vantorel {
namespace {

// FIPS 180 and NIST CAVP messages: the digest is plain SHA-256, written in lower-case hex.
TEST(PasswordDigest, MatchesPublishedSha256Vectors) {
    int checked = 0;
    for (const QList<QByteArray>& cols : test::vectorRows("sha256.tsv")) {
        if (cols.size() < 3)
            continue;
        const QByteArray message = cols[1];
        QByteArray bytes;
        if (message.startsWith("repeat:")) {
            const QList<QByteArray> rule = message.split(':');
            bytes = QByteArray(rule[2].toInt(), char(rule[1].toInt(nullptr, 16)));
        } else {
            bytes = QByteArray::fromHex(message);
        }
        // A password is text: only messages that are UTF-8 text can be typed.
        const QString text = QString::fromUtf8(bytes);
        if (text.toUtf8() != bytes)
            continue;
        EXPECT_EQ(passwordDigest(text), QString::fromLatin1(cols[2].trimmed())) << cols[0].data();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(PasswordDigest, HashesTheUtf8BytesOfTheTextAsTyped) {
    // "é" is C3 A9 in UTF-8; Hangul takes three bytes a syllable.
    EXPECT_EQ(passwordDigest(QStringLiteral("é")),
              QLatin1String("4a99557e4033c3539de2eb65472017cad5f9557f7a0625a09f1c3f6e2ba69c4c"));
    EXPECT_EQ(passwordDigest(QStringLiteral("가나다")),
              QLatin1String("29205b39ec5e51163b59abe55c48c1aa0c52fb2868cab35e23f9265e473771f4"));
    // Nothing is trimmed.
    EXPECT_NE(passwordDigest(QStringLiteral(" 1234")), passwordDigest(QStringLiteral("1234")));
}

} // namespace
} // namespace vantorel
