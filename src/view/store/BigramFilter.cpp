#include "view/store/BigramFilter.h"

#include <bit>

void BigramFilter::add(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return;
    // Every pair marked once in an exact map of all 65,536 (8 KB, stays in the cache), then
    // each pair present hashed once: a block holds a few thousand pairs among its 256 KB.
    static const auto lower = [] {
        std::array<unsigned char, 256> table {};
        for (int b = 0; b < 256; ++b)
            table[size_t(b)] = lowered(static_cast<unsigned char>(b));
        return table;
    }();
    std::array<quint64, 65536 / 64> exact {};
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    unsigned previous = lower[p[0]];
    for (qsizetype i = 1; i < bytes.size(); ++i) {
        const unsigned current = lower[p[i]];
        const unsigned pair = (previous << 8) | current;
        exact[pair / 64] |= quint64(1) << (pair % 64);
        previous = current;
    }
    for (size_t word = 0; word < exact.size(); ++word) {
        for (quint64 bits = exact[word]; bits != 0; bits &= bits - 1) {
            const unsigned bit = slot(quint16(word * 64 + unsigned(std::countr_zero(bits))));
            m_bits[bit / 64] |= quint64(1) << (bit % 64);
        }
    }
}

int BigramFilter::missing(const std::vector<quint16> &pairs) const
{
    int count = 0;
    for (const quint16 p : pairs)
        count += mayHold(p) ? 0 : 1;
    return count;
}

int BigramFilter::missing(const std::vector<quint16> &pairs, const BigramFilter &other) const
{
    int count = 0;
    for (const quint16 p : pairs)
        count += mayHold(p) || other.mayHold(p) ? 0 : 1;
    return count;
}
