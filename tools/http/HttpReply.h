#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace vantorel {

// A whole HTTP/1.1 answer for the small loopback servers of the stack and the
// tests: the status line with the status's usual reason, the content type and
// length, "Connection: close", then the body.
QByteArray httpReply(int status, QByteArrayView contentType, const QByteArray& body);

} // namespace vantorel
