#include "snapshots/Base64.h"

#include <array>

namespace vantorel {

namespace {

constexpr quint8 kSkip = 0xFF;

constexpr std::array<quint8, 256> sextets() {
    std::array<quint8, 256> table{};
    for (auto& value : table)
        value = kSkip;
    constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (quint8 i = 0; i < 64; ++i)
        table[quint8(alphabet[i])] = i;
    return table;
}

constexpr std::array<quint8, 256> kSextet = sextets();

} // namespace

QByteArray decodeBase64(QByteArrayView text) {
    QByteArray bytes((text.size() * 3) / 4, Qt::Uninitialized);
    char* out = bytes.data();
    const auto* in = reinterpret_cast<const quint8*>(text.data());
    const qsizetype n = text.size();
    quint32 bits = 0;
    int held = 0; // bits in `bits` not written yet, always below 8
    qsizetype i = 0;
    while (i < n) {
        if (held == 0 && i + 4 <= n) {
            const quint32 a = kSextet[in[i]], b = kSextet[in[i + 1]], c = kSextet[in[i + 2]],
                          d = kSextet[in[i + 3]];
            if (((a | b | c | d) & 0x80) == 0) { // all four in the alphabet
                const quint32 group = (a << 18) | (b << 12) | (c << 6) | d;
                *out++ = char(group >> 16);
                *out++ = char(group >> 8);
                *out++ = char(group);
                i += 4;
                continue;
            }
        }
        const quint32 sextet = kSextet[in[i++]];
        if (sextet == kSkip)
            continue;
        bits = (bits << 6) | sextet;
        held += 6;
        if (held >= 8) {
            held -= 8;
            *out++ = char(bits >> held);
            bits &= (1u << held) - 1;
        }
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

} // namespace vantorel
