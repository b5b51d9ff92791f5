#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace vantorel::test {

// A key press and release as the platform delivers them: the key, its modifiers
// and the text it types.
void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text);
// Types each character as its own key press.
void typeText(QWidget* widget, const QString& text);
// An input method's commit, as Hangul arrives from the IME.
void commitText(QWidget* widget, const QString& text);
// A left double-click at the widget's point as the application delivers it:
// press, release, then (after the event loop has run) press, double-click,
// release.
void doubleClick(QWidget* widget, QPoint at);
// The same when the window thread was busy: the window system's four events
// wait in the queue and are handled in one go.
void doubleClickWhileBusy(QWidget* widget, QPoint at);

} // namespace vantorel::test
