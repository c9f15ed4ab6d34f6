#include "view/store/DecodedBlockCache.h"

#include <algorithm>

DecodedBlockCache::Entry *DecodedBlockCache::find(qsizetype block)
{
    for (Entry &entry : m_entries) {
        if (entry.block == block) {
            entry.lastUse = ++m_clock;
            return &entry;
        }
    }
    return nullptr;
}

DecodedBlockCache::Entry &DecodedBlockCache::put(qsizetype block)
{
    Entry &entry
        = *std::min_element(m_entries.begin(), m_entries.end(),
                            [](const Entry &a, const Entry &b) { return a.lastUse < b.lastUse; });
    entry.block = block;
    entry.text.resize(0); // keeps the allocation for the next block
    entry.breaks.clear();
    entry.damaged = false;
    entry.lastUse = ++m_clock;
    return entry;
}

void DecodedBlockCache::clear()
{
    for (Entry &entry : m_entries)
        entry = Entry();
    m_clock = 0;
}

void DecodedBlockCache::indexBreaks(Entry &entry, qsizetype from)
{
    const QStringView text(entry.text);
    for (qsizetype at = text.indexOf(u'\n', from); at >= 0; at = text.indexOf(u'\n', at + 1))
        entry.breaks.push_back(qint32(at));
}
