#pragma once

#include "engine/FollowState.h"
#include "engine/LineSources.h"

#include <QAbstractListModel>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

// The watched files and how far each has been read.
//
// Two halves kept in step: an ordered list of entries (path text as given, slot number) and
// eleven slots, each holding only a 1-based read position, 0 marking a free slot. An entry
// reaches its data through list position -> slot number -> read position; list order and slot
// order differ as soon as an entry other than the last is removed and another one added.
//
// Beside its read position each slot keeps the reader's FollowState and whether a failure to
// read it has been reported; both start afresh whenever setFilePointer gives the slot a new
// position, so a freed and reused slot never inherits them.
//
// The list shows each entry's path, after "[ポーリングのみ]" for a file that changes cannot wake
// the program for (setPolledOnly); while the files are read in the automatic character set
// (showDetectedCharacterSets), the set decided for its file before it ("[UTF-8]  /var/log/a"),
// or "[未判別]" while only ASCII has been read and nothing is decided yet.
//
// Each entry carries the origin its lines are marked with in the view (LineSources).
//
// Edge cases: the same path may be listed twice (two slots, read twice); a slot number outside
// 0..10 never touches memory, the operation fails instead; positions are 64-bit so files beyond
// 2 GiB are followed like any other.
class WatchedFileTable : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = 11;
    static constexpr int SlotRole = Qt::UserRole; // the entry's ItemData

    explicit WatchedFileTable(QObject *parent = nullptr);

    int count() const { return int(m_entries.size()); }
    // The path as given, holding the file name's bytes (NativePath); the list shows it with
    // U+FFFD for bytes that are not UTF-8.
    QString path(int lngIndex) const;
    // The entry's slot number (its ItemData), or nullopt for a position outside the list.
    std::optional<int> itemData(int lngIndex) const;

    // Appends an entry with the given slot and returns its position. The slot is not
    // checked here; callers take it from getIndex.
    int append(const QString &strFileName, int slot);
    // Removes the entry; the ones behind it move up and keep their slots.
    bool removeAt(int lngIndex);

    // Read position of a slot; nullopt when the slot number lies outside 0..10.
    std::optional<qint64> lngFilePointer(int slot) const;
    // A new position from outside the reader: the follow state and the failure mark start over.
    bool setFilePointer(int slot, qint64 position);
    // What the reader stores after a read: the position behind what it took, and its state.
    bool commitRead(int slot, qint64 position, const FollowState &state);
    std::optional<FollowState> followState(int slot) const;
    // Whether the polling cycle has told the user that this slot's file cannot be read.
    bool failureReported(int slot) const;
    void setFailureReported(int slot, bool reported);
    // Read position of the entry's slot, reached through its ItemData.
    std::optional<qint64> filePointerOfEntry(int lngIndex) const;
    bool setFilePointerOfEntry(int lngIndex, qint64 position);

    // Whether the list shows each file's detected character set beside its path.
    void showDetectedCharacterSets(bool on);
    // Every slot forgets the character set decided for its file.
    void forgetDetectedCharacterSets();

    // The origin that lines read through the slot's entry carry, 0 for a slot without one.
    quint16 originOfSlot(int slot) const;
    // Which slot and path lines of an origin were read from.
    std::optional<LineSources::Source> sourceOf(quint16 origin) const
    {
        return m_sources.source(origin);
    }

    // Whether the slot's file is followed by polling alone, though waking on change is on: the
    // list marks its entries. Kept apart from the read position, which setFilePointer renews.
    void setPolledOnly(int slot, bool polledOnly);
    bool polledOnly(int slot) const;

    // Lowest free slot (read position 0), or -1 when all eleven are in use.
    int getIndex() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    static bool isValidSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
    // Tells the list that the entries of a slot (or of all, for -1) look different now.
    void slotChanged(int slot);

    struct Entry
    {
        QString path;
        int slot;
        quint16 origin;
    };
    struct Slot
    {
        qint64 position = 0;
        FollowState follow;
        bool failureReported = false;
    };
    QVector<Entry> m_entries;
    std::array<Slot, kSlotCount> m_slots {};
    std::array<bool, kSlotCount> m_polledOnly {};
    bool m_showDetected = false;
    LineSources m_sources;
};
