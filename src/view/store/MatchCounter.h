#pragma once

#include "view/store/ByteMatcher.h"
#include "view/store/LogStore.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Counts every match of a word in a store, overlapping ones included (what QString::count
// gives: "aa" is in "aaaa" three times), on the stored bytes as find reads them. It counts in
// steps, so a caller can spread a count over a long log across turns of the event loop, and it
// goes on from where it stopped when text has been appended since: a count kept current costs
// only what was appended.
//
// The count is over what the store held when a step last reached its end; a hit across the
// end is counted once the rest of it is there. After the store is cleared, reset() must come
// before the next step. Damaged blocks hold no hit, as for find.
class MatchCounter
{
public:
    MatchCounter(QStringView word, Qt::CaseSensitivity sensitivity);

    // Called for each hit with the line it begins in, in order.
    using HitLines = std::function<void(LineNo)>;

    // Counts on, block by block, while keepGoing() says so after each block; true when it
    // reached the end of the store.
    bool step(const LogStore &store, const std::function<bool()> &keepGoing,
              const HitLines &hitLines = {});
    qint64 count() const { return m_count; }
    // Where the next step begins; every hit that ends before it has been counted.
    StoreOffset countedTo() const { return StoreOffset(m_resumeAt); }
    void reset();

private:
    bool visit(const LogStore::BlockBytes &block, const HitLines &hitLines);
    // Counts the hits that begin in the kept tail and end in after.
    void countAcross(QByteArrayView after, const HitLines &hitLines);

    QString m_word;
    Qt::CaseSensitivity m_sensitivity;
    ByteMatcher m_matcher;
    LogStore::Passing m_passing;
    qint64 m_count = 0;
    qint64 m_resumeAt = 0;
    qint64 m_lineAtResume = 0; // LFs before m_resumeAt
    qint64 m_resumeBlock = -1; // the start of the block m_resumeAt is in, and its byte there
    qsizetype m_resumeByte = 0;
    QByteArray m_tail; // the last units before m_resumeAt that a hit across it may begin in
    qsizetype m_tailUnits = 0;
};
