#pragma once

#include <QByteArrayView>

#include <array>
#include <vector>

// Which pairs of neighbouring bytes a sealed block holds, hashed into 2,048 bits (256 bytes a
// block, about 0.15 bytes a line): enough for find to pass by a block that cannot hold the
// word without reading it back and decompressing it. Made in about three times what LZ4 takes
// to decompress the block, which is why the store makes it when a scan first reads the block
// (the count of the find dialog's word, as the word is typed, reads them all) rather than on
// every seal. A pair is taken with ASCII letters in
// lower case, so one filter serves searches with and without case.
//
// A filter can say "maybe" for a pair the block does not hold (two pairs share a bit), never
// "no" for one it does. What a word needs of a block is ByteMatcher's to say: the pairs of
// its bytes that every match must contain, whatever case the text has.
class BigramFilter
{
public:
    static constexpr int kBits = 2048;

    // A pair as filters keep it: the two bytes, letters lowered, read as a little-endian
    // 16-bit number.
    static quint16 pair(unsigned char first, unsigned char second)
    {
        return quint16(lowered(first) | (lowered(second) << 8));
    }
    // A byte as pairs take it.
    static unsigned char lowered(unsigned char b) { return b >= 'A' && b <= 'Z' ? b | 0x20 : b; }

    void add(QByteArrayView bytes);
    bool mayHold(quint16 pair) const
    {
        const unsigned bit = slot(pair);
        return (m_bits[bit / 64] >> (bit % 64)) & 1;
    }
    // How many of pairs the filter surely does not hold.
    int missing(const std::vector<quint16> &pairs) const;

private:
    // Mixed well: the pairs of a Japanese log crowd a few ranges (lead bytes, continuation
    // bytes), which a plain multiplication leaves bunched together.
    static unsigned slot(quint16 pair)
    {
        quint32 h = quint32(pair) * 0x9E3779B1u;
        h ^= h >> 15;
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        return h >> (32 - 11);
    }

    std::array<quint64, kBits / 64> m_bits {};
};
