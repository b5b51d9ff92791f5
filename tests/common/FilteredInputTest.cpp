#include "common/FilteredInput.h"
#include "support/Typing.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace vantorel {
namespace {

using test::commitText;
using test::pressKey;
using test::typeText;

// What reaches a field of each kind when the member types, composes Hangul and
// uses the keyboard's clipboard shortcuts.
TEST(FilteredInput, TypedAndComposedCharactersPassTheFieldsFilter) {
    struct Case {
        KeyFilter filter;
        const char* name;
        QString afterTyping; // typed: "aZ9 é-" then a key press of "가"
        QString afterCommit; // committed by the input method: "한글a1ㄱ"
    };
    const Case cases[] = {
        {AllowOnlyEnglishAndNumbers, "EnglishAndNumbers", QStringLiteral("aZ9"), QStringLiteral("a1")},
        {AllowOnlyDigits, "Digits", QStringLiteral("9"), QStringLiteral("1")},
        {AllowOnlyLettersAndHangul, "LettersAndHangul", QStringLiteral("aZ가"), QStringLiteral("한글a")},
        {BlockKoreanInput, "BlockKorean", QStringLiteral("aZ9é-"), QStringLiteral("a1")},
        {AllowOnlyLatin1, "Latin1", QStringLiteral("aZ9 é-"), QStringLiteral("a1")},
    };
    for (const Case& c : cases) {
        QLineEdit edit;
        installKeyFilter(&edit, c.filter);
        typeText(&edit, QStringLiteral("aZ9 é-"));
        // A Hangul syllable sent as a plain key press, as some platforms do.
        pressKey(&edit, 0, Qt::NoModifier, QStringLiteral("가"));
        EXPECT_EQ(edit.text(), c.afterTyping) << c.name;

        edit.clear();
        commitText(&edit, QStringLiteral("한글a1ㄱ"));
        EXPECT_EQ(edit.text(), c.afterCommit) << c.name;

        // Backspace always passes.
        pressKey(&edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        EXPECT_EQ(edit.text(), c.afterCommit.chopped(1)) << c.name;
    }
}

TEST(FilteredInput, DeleteAndBackspaceEditInEveryFilteredField) {
    for (const KeyFilter filter : {AllowOnlyEnglishAndNumbers, AllowOnlyDigits, AllowOnlyLettersAndHangul,
                                   BlockKoreanInput, AllowOnlyLatin1}) {
        QLineEdit edit;
        installKeyFilter(&edit, filter);
        edit.setText(QStringLiteral("1234"));
        edit.setCursorPosition(2);
        // On X11 the Delete key's text is DEL (0x7F), Backspace's is BS.
        pressKey(&edit, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        EXPECT_EQ(edit.text(), QStringLiteral("124"));
        pressKey(&edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        EXPECT_EQ(edit.text(), QStringLiteral("14"));
    }
}

TEST(FilteredInput, ClipboardShortcutsWorkOnlyWhereControlCharactersPass) {
    for (const bool strict : {true, false}) {
        QLineEdit edit;
        installKeyFilter(&edit, strict ? AllowOnlyDigits : AllowOnlyLatin1);
        QApplication::clipboard()->setText(QStringLiteral("12"));
        pressKey(&edit, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
        // Qt's own test keyboard sends the letter, not the control character.
        pressKey(&edit, Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"));
        EXPECT_EQ(edit.text(), strict ? QString() : QStringLiteral("1212")) << strict;
    }
}

TEST(FilteredInput, PastedTextIsNotFiltered) {
    QLineEdit edit;
    installKeyFilter(&edit, AllowOnlyDigits);
    QApplication::clipboard()->setText(QStringLiteral("가a 1"));
    edit.paste(); // what the context menu's Paste does
    EXPECT_EQ(edit.text(), QStringLiteral("가a 1"));
}

} // namespace
} // namespace vantorel
