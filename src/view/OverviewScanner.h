#pragma once

#include "highlight/HighlightRules.h"
#include "view/OverviewMarks.h"
#include "view/store/MatchCounter.h"

#include <QString>

#include <functional>
#include <memory>

class LogStore;
class TaskQueue;

// Keeps the overview's marks and the find word's count up to date with the store, in later
// turns of the event loop, never more than a few milliseconds a turn, so that a log of ten
// million lines is marked and counted without the window ever stopping. It reads the store's
// bytes from where it stopped last: appended text costs what it adds, never a rescan; a new
// set of rules or a new find word starts its own part over from the top, and a cleared store
// starts both over.
//
// Rule marks: each line is marked with the first rule that matches it anywhere (a word across
// two reads of a continued line, or across a block edge, included); the last, unfinished line
// is marked as soon as a rule matches what there is of it. Find marks and the count: every
// match of the word (MatchCounter), each marking its line.
class OverviewScanner
{
public:
    // Called after each turn that counted: the matches so far, and whether that is all.
    using CountReport = std::function<void(qint64 count, bool complete)>;

    OverviewScanner(const LogStore &store, TaskQueue &turns);
    ~OverviewScanner();

    const OverviewMarks &marks() const { return m_marks; }
    void setRules(const HighlightRules &rules);
    // An empty word ends the count and clears the find marks.
    void setFindWord(const QString &word, Qt::CaseSensitivity sensitivity, CountReport report);
    // After text was appended, and after the store was emptied.
    void storeGrew();
    void storeCleared();
    // Called after a turn that changed the marks.
    void setMarksChanged(std::function<void()> changed) { m_marksChanged = std::move(changed); }

    // Does one turn's work now; true when all is done. For benchmarks and tests.
    bool runTurn();
    // Whether work is left: rules to match or matches to count in text not yet read.
    bool isBusy() const;

private:
    // Where the rule marking stands: the next offset to read, and the line it is in.
    struct RuleFeed
    {
        qint64 resumeAt = 0;
        qint64 resumeBlock = -1; // start of the block resumeAt is in, and its byte there
        qsizetype resumeByte = 0;
        qint64 line = 0;
        int lineRule = -1; // the best rule of the line so far
        QString tail; // the line's last units, where a word across the next read begins
    };
    bool rulesDone() const;
    bool feedRules(const std::function<bool()> &keepGoing);
    void feedText(QStringView text);
    void schedule();

    const LogStore &m_store;
    TaskQueue &m_turns;
    OverviewMarks m_marks;
    HighlightRules m_rules;
    RuleFeed m_feed;
    QString m_decoded;
    std::unique_ptr<MatchCounter> m_counter;
    CountReport m_report;
    std::function<void()> m_marksChanged;
    bool m_scheduled = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
