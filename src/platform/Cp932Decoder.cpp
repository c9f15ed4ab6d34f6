#include "platform/Cp932Decoder.h"

#include "platform/AsciiBytes.h"

#include <QFile>

static void initCp932Resource()
{
    Q_INIT_RESOURCE(pivex);
}

namespace {
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kLeadMarker = 0xFFFF; // single-byte table: "look at the next byte"
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
    if (!isLeadByte(lead) || !isTrailByte(trail))
        return kReplacement;
    const char16_t unit = lookUp(lead, trail);
    return unit ? unit : kReplacement;
}

template<typename Writer>
bool Cp932Decoder::decodeCharacter(const unsigned char *in, qsizetype &i, qsizetype size,
                                   Writer &out, Tail tail) const
{
    const unsigned char b = in[i];
    const char16_t single = m_single[b];
    if (single != kLeadMarker) {
        out.unit(single);
        ++i;
        return true;
    }
    if (i + 1 >= size) {
        if (tail == Tail::KeepIncomplete)
            return false;
        out.unit(kReplacement);
        ++i;
        return true;
    }
    const unsigned char trail = in[i + 1];
    const char16_t unit = isTrailByte(trail) ? lookUp(b, trail) : 0;
    if (unit) {
        out.unit(unit);
        i += 2;
        return true;
    }
    // No character: an ASCII byte or one that cannot be a trail is decoded on its own.
    out.unit(kReplacement);
    i += (trail >= 0x80 && isTrailByte(trail)) ? 2 : 1;
    return true;
}

DecodedText Cp932Decoder::decode(QByteArrayView bytes, Tail tail) const
{
    return AsciiBytes::decode(
        bytes, [this, tail](const unsigned char *in, qsizetype &i, qsizetype size, auto &out) {
            return decodeCharacter(in, i, size, out, tail);
        });
}

qsizetype Cp932Decoder::decodeForStore(QByteArrayView bytes, Tail tail,
                                       QByteArray &storeBytes) const
{
    return AsciiBytes::decodeForStore(
        bytes, storeBytes,
        [this, tail](const unsigned char *in, qsizetype &i, qsizetype size, auto &out) {
            return decodeCharacter(in, i, size, out, tail);
        });
}
