#include "engine/WatchedFileTable.h"

#include "engine/CharacterSets.h"
#include "platform/NativePath.h"

WatchedFileTable::WatchedFileTable(QObject *parent)
    : QAbstractListModel(parent)
{
}

QString WatchedFileTable::path(int lngIndex) const
{
    if (lngIndex < 0 || lngIndex >= count())
        return {};
    return m_entries.at(lngIndex).path;
}

std::optional<int> WatchedFileTable::itemData(int lngIndex) const
{
    if (lngIndex < 0 || lngIndex >= count())
        return std::nullopt;
    return m_entries.at(lngIndex).slot;
}

int WatchedFileTable::append(const QString &strFileName, int slot)
{
    const int position = count();
    beginInsertRows({}, position, position);
    m_entries.append({strFileName, slot, m_sources.originFor(slot, strFileName)});
    endInsertRows();
    return position;
}

bool WatchedFileTable::removeAt(int lngIndex)
{
    if (lngIndex < 0 || lngIndex >= count())
        return false;
    beginRemoveRows({}, lngIndex, lngIndex);
    m_entries.removeAt(lngIndex);
    endRemoveRows();
    return true;
}

std::optional<qint64> WatchedFileTable::lngFilePointer(int slot) const
{
    if (!isValidSlot(slot))
        return std::nullopt;
    return m_slots[size_t(slot)].position;
}

bool WatchedFileTable::setFilePointer(int slot, qint64 position)
{
    if (!isValidSlot(slot))
        return false;
    const bool hadDetected = m_slots[size_t(slot)].follow.detected.has_value();
    m_slots[size_t(slot)] = Slot {position, {}, false};
    if (hadDetected)
        slotChanged(slot);
    return true;
}

bool WatchedFileTable::commitRead(int slot, qint64 position, const FollowState &state)
{
    if (!isValidSlot(slot))
        return false;
    const bool detectedChanged = m_slots[size_t(slot)].follow.detected != state.detected;
    m_slots[size_t(slot)].position = position;
    m_slots[size_t(slot)].follow = state;
    if (detectedChanged)
        slotChanged(slot);
    return true;
}

std::optional<FollowState> WatchedFileTable::followState(int slot) const
{
    if (!isValidSlot(slot))
        return std::nullopt;
    return m_slots[size_t(slot)].follow;
}

bool WatchedFileTable::failureReported(int slot) const
{
    return isValidSlot(slot) && m_slots[size_t(slot)].failureReported;
}

void WatchedFileTable::setFailureReported(int slot, bool reported)
{
    if (isValidSlot(slot))
        m_slots[size_t(slot)].failureReported = reported;
}

std::optional<qint64> WatchedFileTable::filePointerOfEntry(int lngIndex) const
{
    const auto slot = itemData(lngIndex);
    return slot ? lngFilePointer(*slot) : std::nullopt;
}

bool WatchedFileTable::setFilePointerOfEntry(int lngIndex, qint64 position)
{
    const auto slot = itemData(lngIndex);
    return slot && setFilePointer(*slot, position);
}

void WatchedFileTable::showDetectedCharacterSets(bool on)
{
    if (on == m_showDetected)
        return;
    m_showDetected = on;
    slotChanged(-1);
}

void WatchedFileTable::forgetDetectedCharacterSets()
{
    for (Slot &slot : m_slots)
        slot.follow.detected.reset();
    slotChanged(-1);
}

void WatchedFileTable::setPolledOnly(int slot, bool polledOnly)
{
    if (!isValidSlot(slot) || m_polledOnly[size_t(slot)] == polledOnly)
        return;
    m_polledOnly[size_t(slot)] = polledOnly;
    slotChanged(slot);
}

bool WatchedFileTable::polledOnly(int slot) const
{
    return isValidSlot(slot) && m_polledOnly[size_t(slot)];
}

void WatchedFileTable::slotChanged(int slot)
{
    for (int row = 0; row < count(); ++row) {
        if (slot < 0 || m_entries.at(row).slot == slot)
            Q_EMIT dataChanged(index(row), index(row), {Qt::DisplayRole});
    }
}

quint16 WatchedFileTable::originOfSlot(int slot) const
{
    for (const Entry &entry : m_entries) {
        if (entry.slot == slot)
            return entry.origin;
    }
    return 0;
}

int WatchedFileTable::getIndex() const
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_slots[size_t(slot)].position == 0)
            return slot;
    }
    return -1;
}

int WatchedFileTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant WatchedFileTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Entry &entry = m_entries.at(index.row());
    if (role == Qt::DisplayRole) {
        // Marks go in front: a long path scrolls sideways, and they must stay in sight.
        QString text = NativePath::display(entry.path);
        if (polledOnly(entry.slot))
            text.prepend(QStringLiteral("[ポーリングのみ]  "));
        if (!m_showDetected || !isValidSlot(entry.slot))
            return text;
        const auto detected = m_slots[size_t(entry.slot)].follow.detected;
        const QString set = detected ? CharacterSets::caption(*detected) : QStringLiteral("未判別");
        return QString(u'[' % set % QStringLiteral("]  ") % text);
    }
    if (role == SlotRole)
        return entry.slot;
    return {};
}
