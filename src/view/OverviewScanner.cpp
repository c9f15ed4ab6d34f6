#include "view/OverviewScanner.h"

#include "platform/TaskQueue.h"
#include "view/store/LogStore.h"
#include "view/store/UnitCoding.h"

#include <QElapsedTimer>

namespace {
// A turn's work: the window answers in well under the 100 ms a user notices, while a count
// over ten million lines takes a second or two.
constexpr qint64 kTurnNs = 8'000'000;
} // namespace

OverviewScanner::OverviewScanner(const LogStore &store, TaskQueue &turns)
    : m_store(store)
    , m_turns(turns)
{
}

OverviewScanner::~OverviewScanner()
{
    *m_alive = false;
}

void OverviewScanner::setRules(const HighlightRules &rules)
{
    m_rules = rules;
    m_feed = {};
    m_marks.clearRules();
    schedule();
}

void OverviewScanner::setFindWord(const QString &word, Qt::CaseSensitivity sensitivity,
                                  CountReport report)
{
    m_marks.clearFinds();
    m_counter.reset();
    m_report = std::move(report);
    if (!word.isEmpty())
        m_counter = std::make_unique<MatchCounter>(word, sensitivity);
    schedule();
}

void OverviewScanner::storeGrew()
{
    schedule();
}

void OverviewScanner::storeCleared()
{
    m_feed = {};
    m_marks.clear();
    if (m_counter)
        m_counter->reset();
    schedule();
}

bool OverviewScanner::rulesDone() const
{
    return m_rules.isEmpty() || m_feed.resumeAt >= m_store.size();
}

bool OverviewScanner::isBusy() const
{
    return !rulesDone() || (m_counter && m_counter->countedTo().value < m_store.size());
}

void OverviewScanner::schedule()
{
    if (m_scheduled || (rulesDone() && !m_counter))
        return;
    m_scheduled = true;
    m_turns.post([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (alive.expired())
            return;
        m_scheduled = false;
        if (!runTurn())
            schedule();
    });
}

bool OverviewScanner::runTurn()
{
    const quint64 before = m_marks.version();
    QElapsedTimer timer;
    timer.start();
    const auto keepGoing = [&] { return timer.nsecsElapsed() < kTurnNs; };
    // One budget for both: counting goes first (the user is waiting for the number), the
    // rules take what is left, and at least one block each turn so neither ever stalls.
    bool counted = true;
    if (m_counter && m_counter->countedTo().value < m_store.size()) {
        counted
            = m_counter->step(m_store, keepGoing, [this](LineNo line) { m_marks.markFind(line); });
        if (m_report)
            m_report(m_counter->count(), counted);
    } else if (m_counter && m_report && m_store.size() == 0) {
        m_report(0, true);
    }
    const bool marked = rulesDone() || feedRules(keepGoing);
    if (m_marks.version() != before && m_marksChanged)
        m_marksChanged();
    return counted && marked;
}

bool OverviewScanner::feedRules(const std::function<bool()> &keepGoing)
{
    bool reachedEnd = true;
    m_store.scanBlocks(
        StoreOffset(m_feed.resumeAt),
        [&](const LogStore::BlockBytes &block) {
            const qint64 end = block.start.value + block.units;
            if (end <= m_feed.resumeAt)
                return true;
            if (block.damaged) {
                // Its text is lost; the lines after it are still numbered right.
                m_feed.line = block.breaksBefore + block.breaks;
                m_feed.lineRule = -1;
                m_feed.tail.clear();
            } else {
                const qsizetype from = block.start.value == m_feed.resumeBlock
                    ? m_feed.resumeByte
                    : UnitCoding::byteOfUnit(block.bytes,
                                             qsizetype(m_feed.resumeAt - block.start.value));
                m_decoded.resize(0);
                UnitCoding::decodeAppend(block.bytes.sliced(from), m_decoded);
                feedText(m_decoded);
            }
            m_feed.resumeAt = end;
            m_feed.resumeBlock = block.start.value;
            m_feed.resumeByte = block.bytes.size();
            if (m_feed.resumeAt < m_store.size() && !keepGoing()) {
                reachedEnd = false;
                return false;
            }
            return true;
        },
        nullptr, LogStore::Filters::Make);
    return reachedEnd;
}

void OverviewScanner::feedText(QStringView text)
{
    const RuleMatcher &matcher = m_rules.matcher();
    const qsizetype keep = matcher.longestWord() - 1;
    const auto better = [&](int rule) {
        if (rule >= 0 && (m_feed.lineRule < 0 || rule < m_feed.lineRule)) {
            m_feed.lineRule = rule;
            m_marks.markRule(LineNo(m_feed.line), rule);
        }
    };
    // The store's line ends are CR LF, found by their LF; a word never holds either.
    while (!text.isEmpty()) {
        const qsizetype lf = text.indexOf(u'\n');
        const QStringView piece = lf < 0 ? text : text.first(lf);
        if (!m_feed.tail.isEmpty() && m_feed.lineRule != 0) {
            // Words that begin before this read of the line and end in it.
            better(matcher.firstMatch(
                QString(m_feed.tail + piece.first(std::min(keep, piece.size())))));
        }
        if (m_feed.lineRule != 0)
            better(matcher.firstMatch(piece));
        if (lf < 0) {
            m_feed.tail = QString(m_feed.tail + piece).right(keep);
            return;
        }
        ++m_feed.line;
        m_feed.lineRule = -1;
        m_feed.tail.clear();
        text = text.sliced(lf + 1);
    }
}
