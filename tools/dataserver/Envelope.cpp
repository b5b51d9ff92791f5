#include "Envelope.h"

namespace vantorel::dataserver {

QByteArray encodeEnvelope(const QByteArray& payload) {
    const QByteArray text = payload.toBase64();
    QByteArray out;
    out.reserve(text.size() + text.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < text.size(); i += 76) {
        const qsizetype n = std::min<qsizetype>(76, text.size() - i);
        out.append(text.constData() + i, n);
        if (n == 76)
            out.append("\r\n");
    }
    return out;
}

} // namespace vantorel::dataserver
