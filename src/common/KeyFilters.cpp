#include "common/KeyFilters.h"

namespace vantorel {

namespace {

bool isAsciiLetter(char16_t u) {
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool isAsciiDigit(char16_t u) {
    return u >= u'0' && u <= u'9';
}

} // namespace

bool AllowOnlyEnglishAndNumbers(QChar c) {
    const char16_t u = c.unicode();
    return isAsciiLetter(u) || isAsciiDigit(u) || u == kBackspace;
}

bool AllowOnlyDigits(QChar c) {
    const char16_t u = c.unicode();
    return isAsciiDigit(u) || u == kBackspace;
}

bool AllowOnlyLettersAndHangul(QChar c) {
    const char16_t u = c.unicode();
    return isAsciiLetter(u) || (u >= 0xAC00 && u <= 0xD7A3) || u == kBackspace;
}

bool BlockKoreanInput(QChar c) {
    return c.unicode() <= 0xFF && c.unicode() != u' ';
}

bool AllowOnlyLatin1(QChar c) {
    return c.unicode() <= 0xFF;
}

} // namespace vantorel
