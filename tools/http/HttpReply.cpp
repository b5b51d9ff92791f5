#include "HttpReply.h"

namespace vantorel {

namespace {

QByteArrayView reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Payload Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    }
    return "Error";
}

} // namespace

QByteArray httpReply(int status, QByteArrayView contentType, const QByteArray& body) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status).toByteArray() +
           "\r\nContent-Type: " + contentType.toByteArray() +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace vantorel
