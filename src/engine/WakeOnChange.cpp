#include "engine/WakeOnChange.h"

#include "engine/PollingCycle.h"
#include "engine/WatchedFileTable.h"
#include "platform/FileWatch.h"

WakeOnChange::WakeOnChange(WatchedFileTable &table, FileWatch &watch, PollingCycle &cycle)
    : m_table(table)
    , m_watch(watch)
    , m_cycle(cycle)
{
    m_watch.setHandler([this](int slot) { changed(slot); });
    QObject::connect(&m_table, &QAbstractItemModel::rowsInserted, &m_context,
                     [this](const QModelIndex &, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             watchEntry(row);
                     });
    QObject::connect(&m_table, &QAbstractItemModel::rowsAboutToBeRemoved, &m_context,
                     [this](const QModelIndex &, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             unwatchEntry(row);
                     });
}

WakeOnChange::~WakeOnChange()
{
    m_watch.setHandler({});
}

void WakeOnChange::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    for (int i = 0; i < m_table.count(); ++i)
        unwatchEntry(i);
    m_enabled = on;
    for (int i = 0; i < m_table.count(); ++i)
        watchEntry(i);
}

void WakeOnChange::watchEntry(int lngIndex)
{
    const auto slot = m_table.itemData(lngIndex);
    if (m_enabled && slot)
        m_table.setPolledOnly(*slot, !m_watch.add(*slot, m_table.path(lngIndex)));
}

void WakeOnChange::unwatchEntry(int lngIndex)
{
    if (const auto slot = m_table.itemData(lngIndex)) {
        m_watch.remove(*slot);
        m_table.setPolledOnly(*slot, false);
    }
}

void WakeOnChange::changed(int slot)
{
    if (!m_enabled)
        return;
    if (!m_watch.isWatched(slot))
        m_table.setPolledOnly(slot, true);
    // A notice read just before the pass is read by it; one read just after would wait a gap.
    if (const qint64 wait = m_cycle.wake(slot); wait > 1)
        m_watch.holdNotices(int(wait - 1));
}
