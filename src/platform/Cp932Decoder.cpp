#include "platform/Cp932Decoder.h"

#include "platform/LargeBuffer.h"

#include <QFile>

#include <cstring>

static void initCp932Resource()
{
    Q_INIT_RESOURCE(pivex);
}

namespace {
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kLeadMarker = 0xFFFF; // single-byte table: "look at the next byte"

int leadRow(unsigned char lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0xA0 - 0x81);
}
} // namespace

Cp932Decoder::Cp932Decoder()
{
    for (int b = 0; b < 0x80; ++b)
        m_single[b] = char16_t(b);
    m_single[0x80] = 0x0080;
    m_single[0xA0] = 0xF8F0;
    for (int b = 0xA1; b <= 0xDF; ++b)
        m_single[b] = char16_t(0xFF61 + (b - 0xA1));
    for (int b = 0xFD; b <= 0xFF; ++b)
        m_single[b] = char16_t(0xF8F1 + (b - 0xFD));
    for (int b = 0; b < 256; ++b) {
        if (isLeadByte(static_cast<unsigned char>(b)))
            m_single[b] = kLeadMarker;
    }

    initCp932Resource();
    QFile table(QStringLiteral(":/cp932.bin"));
    if (table.open(QIODevice::ReadOnly)) {
        const QByteArray raw = table.readAll();
        if (raw.size() == qsizetype(sizeof(m_double))) {
            const auto *p = reinterpret_cast<const unsigned char *>(raw.constData());
            for (size_t k = 0; k < m_double.size(); ++k)
                m_double[k] = char16_t(p[2 * k] | (p[2 * k + 1] << 8));
        }
    }
    // Without its table the decoder still runs, showing U+FFFD for every pair; a test
    // guards against that ever shipping.
}

char16_t Cp932Decoder::pair(unsigned char lead, unsigned char trail) const
{
    const char16_t unit = m_double[size_t(leadRow(lead) * kTrailCount + (trail - 0x40))];
    return unit ? unit : kReplacement;
}

DecodedText Cp932Decoder::decode(QByteArrayView bytes, Tail tail) const
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();

    DecodedText result;
    result.text.resize(size); // each byte gives at most one UTF-16 unit
    auto *out = reinterpret_cast<char16_t *>(result.text.data());
    adviseLargeBuffer(out, size * qint64(sizeof(char16_t)));
    char16_t *const begin = out;

    qsizetype i = 0;
    while (i < size) {
        // Most of a log line is printable ASCII: take it eight bytes at a time while no byte
        // has its high bit set or lies below 0x20 (line ends, NUL and other controls).
        while (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, in + i, 8);
            constexpr quint64 kHigh = 0x8080808080808080ULL;
            const quint64 control = (word - 0x2020202020202020ULL) & ~word & kHigh;
            if ((word & kHigh) | control)
                break;
            for (int k = 0; k < 8; ++k)
                out[k] = char16_t(in[i + k]);
            out += 8;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned char b = in[i];
        const char16_t single = m_single[b];
        if (single >= 0x20 && single != kLeadMarker) {
            *out++ = single;
            ++i;
            continue;
        }
        if (b == '\r') {
            *out++ = u'\r';
            i += (i + 1 < size && in[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        if (single != kLeadMarker) {
            *out++ = b == '\n' ? u'\r' : single;
            ++i;
            continue;
        }
        // A lead byte.
        if (i + 1 >= size) {
            if (tail == Tail::KeepIncomplete)
                break;
            *out++ = kReplacement;
            ++i;
            continue;
        }
        const unsigned char trail = in[i + 1];
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) {
            *out++ = kReplacement;
            ++i;
            continue;
        }
        *out++ = pair(b, trail);
        i += 2;
    }
    result.text.truncate(out - begin);
    result.consumed = i;
    return result;
}
