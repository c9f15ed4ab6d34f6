#include "engine/LineSources.h"

#include <limits>

quint16 LineSources::originFor(int slot, const QString &path)
{
    for (qsizetype i = m_sources.size(); i > 0; --i) {
        const Source &known = m_sources.at(i - 1);
        if (known.slot == slot && known.path == path)
            return quint16(i);
    }
    if (m_sources.size() >= std::numeric_limits<quint16>::max())
        return 0;
    m_sources.append({slot, path});
    return quint16(m_sources.size());
}

std::optional<LineSources::Source> LineSources::source(quint16 origin) const
{
    if (origin == 0 || origin > m_sources.size())
        return std::nullopt;
    return m_sources.at(origin - 1);
}
