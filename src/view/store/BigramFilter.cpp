#include "view/store/BigramFilter.h"

void BigramFilter::add(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 1; i < bytes.size(); ++i) {
        const unsigned bit = slot(pair(p[i - 1], p[i]));
        m_bits[bit / 64] |= quint64(1) << (bit % 64);
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
