#include "common/FilteredInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <QCoreApplication>

namespace vantorel {

namespace {

// The characters a key press types, as the filters see them; empty for keys
// that type nothing (arrows, Delete, Tab, ...).
QString typedCharacters(const QKeyEvent& event) {
    const int key = event.key();
    // Delete edits as usual, whatever the platform puts in its text (X11: DEL).
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete)
        return {};
    if (key == Qt::Key_Backspace)
        return QString(QChar(kBackspace));
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QString(QChar(kEnter));
    // Ctrl+letter (the clipboard shortcuts among them) types that letter's control
    // character, whatever text the platform put in the event. Ctrl+Alt is AltGr.
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(char16_t(key - Qt::Key_A + 1)));
    return event.text();
}

QString keptCharacters(const QString& text, KeyFilter filter) {
    QString kept;
    for (const QChar c : text) {
        if (filter(c))
            kept += c;
    }
    return kept;
}

class KeyFilterHook final : public QObject {
public:
    KeyFilterHook(QLineEdit* edit, KeyFilter filter)
        : QObject(edit)
        , m_edit(edit)
        , m_filter(filter) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_edit)
            return false;
        if (event->type() == QEvent::KeyPress)
            return filterKey(*static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod)
            return filterCommit(*static_cast<QInputMethodEvent*>(event));
        return false;
    }

private:
    bool filterKey(const QKeyEvent& event) {
        const QString typed = typedCharacters(event);
        if (typed.isEmpty())
            return false;
        const QString kept = keptCharacters(typed, m_filter);
        if (kept == typed)
            return false;
        // Part of a multi-character press survives: type just that part.
        if (!kept.isEmpty())
            m_edit->insert(kept);
        return true;
    }

    bool filterCommit(const QInputMethodEvent& event) {
        const QString commit = event.commitString();
        const QString kept = keptCharacters(commit, m_filter);
        if (kept == commit)
            return false;
        QInputMethodEvent replaced(event.preeditString(), event.attributes());
        replaced.setCommitString(kept, event.replacementStart(), event.replacementLength());
        QCoreApplication::sendEvent(m_edit, &replaced);
        return true;
    }

    QLineEdit* m_edit;
    KeyFilter m_filter;
};

} // namespace

void installKeyFilter(QLineEdit* edit, KeyFilter filter) {
    edit->installEventFilter(new KeyFilterHook(edit, filter));
}

} // namespace vantorel
