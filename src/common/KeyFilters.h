#pragma once

#include <QChar>

namespace vantorel {

// A key filter decides, for one typed character, whether it reaches the field.
// Backspace arrives as character 8, Enter as 13, the clipboard shortcuts as
// control characters.
using KeyFilter = bool (*)(QChar);

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kEnter = 13;

// A-Z, a-z, 0-9 and backspace.
bool AllowOnlyEnglishAndNumbers(QChar c);
// 0-9 and backspace.
bool AllowOnlyDigits(QChar c);
// A-Z, a-z, the Hangul syllables U+AC00 to U+D7A3 and backspace.
bool AllowOnlyLettersAndHangul(QChar c);
// Everything up to U+00FF except the space.
bool BlockKoreanInput(QChar c);
// Everything up to U+00FF.
bool AllowOnlyLatin1(QChar c);

} // namespace vantorel
