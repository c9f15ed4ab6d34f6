#pragma once

#include <QString>

#include <array>
#include <vector>

// The few blocks of the store that were read last, decoded to UTF-16, with where their LFs
// are: painting, selection and the caret's line keep asking about the same lines, and
// decoding a block costs far more than reading from one.
//
// Holds kCapacity blocks and drops the one used least recently. Entries are addressed by
// block number; a pointer to an entry stays valid until the next put() or clear().
class DecodedBlockCache
{
public:
    static constexpr int kCapacity = 4;

    struct Entry
    {
        qsizetype block = -1;
        QString text;
        std::vector<qint32> breaks; // unit positions of the LFs, ascending
        bool damaged = false;
        quint64 lastUse = 0;
    };

    Entry *find(qsizetype block);
    // An emptied entry for block, taking the place of the least recently used one.
    Entry &put(qsizetype block);
    void clear();

    // Scans text from unit `from` on for LFs and records them.
    static void indexBreaks(Entry &entry, qsizetype from);

private:
    std::array<Entry, kCapacity> m_entries;
    quint64 m_clock = 0;
};
