#include "common/KeyFilters.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QString>

namespace vantorel {
namespace {

struct FilterCase {
    const char* category;
    QString characters;
    // Kept by: EnglishAndNumbers, Digits, LettersAndHangul, BlockKorean, Latin1.
    bool kept[5];
};

TEST(KeyFilters, EachFilterKeepsExactlyItsCharacters) {
    const KeyFilter filters[5] = {AllowOnlyEnglishAndNumbers, AllowOnlyDigits, AllowOnlyLettersAndHangul,
                                  BlockKoreanInput, AllowOnlyLatin1};
    const FilterCase cases[] = {
        {"lower-case letters", QStringLiteral("azm"), {true, false, true, true, true}},
        {"upper-case letters", QStringLiteral("AZM"), {true, false, true, true, true}},
        {"digits", QStringLiteral("0159"), {true, true, false, true, true}},
        {"Hangul syllables", QStringLiteral("가힣한"), {false, false, true, false, false}},
        {"Hangul jamo", QStringLiteral("ㄱㅏㅎ\u1100\u11A8"), {false, false, false, false, false}},
        {"Latin-1 letters and signs", QStringLiteral("éÿ©\u00A0"), {false, false, false, true, true}},
        {"ASCII punctuation", QStringLiteral("@.-_',;=\""), {false, false, false, true, true}},
        {"space", QStringLiteral(" "), {false, false, false, false, true}},
        {"backspace", QString(QChar(8)), {true, true, true, true, true}},
        {"Enter", QString(QChar(13)), {false, false, false, true, true}},
        {"clipboard shortcuts",
         QString(QChar(3)) + QChar(22) + QChar(24) + QChar(1),
         {false, false, false, true, true}},
        {"other control characters",
         QString(QChar(0)) + QChar(27) + QChar(127),
         {false, false, false, true, true}},
        {"beyond Latin-1", QStringLiteral("Ā€中") + QChar(0xD83D), {false, false, false, false, false}},
        {"just outside the syllables",
         QString(QChar(0xABFF)) + QChar(0xD7A4),
         {false, false, false, false, false}},
    };
    for (const FilterCase& c : cases) {
        for (const QChar ch : c.characters) {
            for (int f = 0; f < 5; ++f) {
                EXPECT_EQ(filters[f](ch), c.kept[f])
                    << c.category << ": U+" << QString::number(ch.unicode(), 16).toStdString() << ", filter "
                    << f;
            }
        }
    }
}

} // namespace
} // namespace vantorel
