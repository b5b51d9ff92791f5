#pragma once

#include "common/Error.h"
#include "common/Messages.h"

#include <QObject>

#include <exception>
#include <utility>

namespace vantorel {

// Runs a handler or timer slot so that no exception crosses the event loop: what
// the handler did not catch goes to the standard error box, and the program goes on.
template <typename Handler> void guarded(Messages& messages, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const Error& e) {
        messages.standardError(e.text());
    } catch (const std::exception& e) {
        messages.standardError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        messages.standardError(QStringLiteral("Unknown error"));
    }
}

// Connects a signal to one of the receiver's handlers, run guarded; the
// handler takes the signal's arguments.
template <typename Sender, typename Signal, typename Receiver, typename... Args>
void connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Messages& messages,
                    void (Receiver::*handler)(Args...)) {
    QObject::connect(sender, signal, receiver, [receiver, &messages, handler](Args... args) {
        guarded(messages, [&] { (receiver->*handler)(args...); });
    });
}

} // namespace vantorel
