#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The store keeps text as bytes, one to three for each UTF-16 unit: the unit's value written
// as UTF-8 writes a code point below U+10000, surrogates each on their own (CESU-8). A log of
// Japanese and ASCII needs about three quarters of the bytes UTF-16 would, so finding scans
// less, and any UTF-16 text comes back unit for unit, lone surrogates included.
//
// Counting units means counting lead bytes (those that are not 10xxxxxx), so an offset in
// units is found without decoding. Decoding never fails: each lead byte gives exactly one
// unit, a missing or malformed continuation gives U+FFFD and a stray continuation byte gives
// nothing, so the unit count of any bytes, damaged ones included, is unitsIn().
namespace UnitCoding {

// Encodes text, turning every line end (CR LF, lone CR, lone LF) into CR LF. The text is
// taken in pieces that fit a block: encodeInto() writes whole units only, and may write the
// CR of a break into one block and its LF into the next.
class Encoder
{
public:
    explicit Encoder(QStringView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_next == m_text.size() && !m_pendingLf; }

    // Writes into out[0, capacity) and returns the bytes written; it stops early only when
    // the next unit does not fit. Units written are added to units, LFs among them to breaks.
    qsizetype encodeInto(char *out, qsizetype capacity, qint64 &units, qint64 &breaks);

private:
    QStringView m_text;
    qsizetype m_next = 0;
    bool m_pendingLf = false;
};

// The store's bytes of text, every line end made CR LF as the Encoder writes them.
QByteArray encoded(QStringView text);

// Copies bytes to out, adding the units among them to units and their LFs to breaks: how
// bytes already in the store's form join a block.
void copyCounting(QByteArrayView bytes, char *out, qint64 &units, qint64 &breaks);
// The LFs among bytes, as copyCounting() counts them, without copying.
qint64 lineFeedsIn(QByteArrayView bytes);
// The largest length, at most room, of a piece of bytes that ends where a unit ends (room
// itself where damaged bytes have no unit start near it).
qsizetype unitEdgeAtOrBefore(QByteArrayView bytes, qsizetype room);

// Appends the units of bytes to text.
void decodeAppend(QByteArrayView bytes, QString &text);
qsizetype unitsIn(QByteArrayView bytes);
// The byte where unit number `unit` of bytes begins; bytes.size() when there are fewer.
qsizetype byteOfUnit(QByteArrayView bytes, qsizetype unit);
// Bytes of one unit: 1, 2 or 3.
inline int encodedLength(char16_t unit)
{
    return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}
// Writes one unit, returns its length.
inline int encodeUnit(char16_t unit, char *out)
{
    if (unit < 0x80) {
        out[0] = char(unit);
        return 1;
    }
    if (unit < 0x800) {
        out[0] = char(0xC0 | (unit >> 6));
        out[1] = char(0x80 | (unit & 0x3F));
        return 2;
    }
    out[0] = char(0xE0 | (unit >> 12));
    out[1] = char(0x80 | ((unit >> 6) & 0x3F));
    out[2] = char(0x80 | (unit & 0x3F));
    return 3;
}

} // namespace UnitCoding
