#include "support/Typing.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace vantorel::test {

void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int key = 0;
        if (u >= u'a' && u <= u'z')
            key = Qt::Key_A + (u - u'a');
        else if (u < 0x80 && u >= 0x20)
            key = u; // Qt's keys for printable ASCII are the upper-case codes
        pressKey(widget, key, Qt::NoModifier, QString(c));
    }
}

void commitText(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

void doubleClick(QWidget* widget, QPoint at) {
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    // What the first click set off runs before the second click arrives.
    QCoreApplication::processEvents();
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    QCoreApplication::processEvents();
}

void doubleClickWhileBusy(QWidget* widget, QPoint at) {
    QWindow* window = widget->window()->windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {}, window->mapFromGlobal(widget->mapToGlobal(at)));
}

} // namespace vantorel::test
