#pragma once

#include <QObject>

class FileWatch;
class PollingCycle;
class WatchedFileTable;

// Keeps a FileWatch on every watched file while waking on change is on, and wakes the polling
// cycle for the entry whose file may have changed. Entries gain their watch as they are added
// to the table and lose it as they are removed, whoever adds or removes them.
//
// An entry that cannot be watched is followed by polling alone, silently; the table marks it
// (setPolledOnly), also when its watch is lost later. Switched off, no file is watched and no
// entry is marked: every file is polled, as it was before there was waking.
class WakeOnChange
{
public:
    // Everything must outlive this object.
    WakeOnChange(WatchedFileTable &table, FileWatch &watch, PollingCycle &cycle);
    ~WakeOnChange();
    WakeOnChange(const WakeOnChange &) = delete;
    WakeOnChange &operator=(const WakeOnChange &) = delete;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);

private:
    void watchEntry(int lngIndex);
    void unwatchEntry(int lngIndex);
    void changed(int slot);

    WatchedFileTable &m_table;
    FileWatch &m_watch;
    PollingCycle &m_cycle;
    bool m_enabled = false;
    QObject m_context; // the table's signals reach this object through it
};
