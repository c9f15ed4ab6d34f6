#pragma once

#include "platform/FileWatch.h"

#include <QByteArray>
#include <QTimer>

#include <map>
#include <memory>

class QSocketNotifier;

// FileWatch on Linux: one inotify descriptor, read when the event loop finds it readable.
//
// Each entry has two kernel watches: one on its folder, of which only the events that name the
// entry's file count (created, deleted, renamed to or from), and one on the file the name leads
// to (written, truncated, attributes changed, renamed or deleted itself). When either says the
// name may lead elsewhere now, the file watch is set again on whatever the name leads to: the
// new file after a rotation, nothing while the name is missing (the folder watch then tells
// when it is back). The kernel gives one watch per inode, so entries in one folder share its
// watch; a watch is removed when the last entry using it goes. A lost folder (deleted, renamed)
// or a file watch refused later (the limit) leaves the entry to polling alone.
//
// An inotify watch keeps no file open and does not keep a deleted file's space: the kernel
// drops it with the file. Events the kernel had no room for (its queue overflowed) tell every
// entry. Elsewhere than on Linux nothing can be watched and add always fails.
class InotifyFileWatch : public FileWatch
{
public:
    InotifyFileWatch();
    ~InotifyFileWatch() override;
    InotifyFileWatch(const InotifyFileWatch &) = delete;
    InotifyFileWatch &operator=(const InotifyFileWatch &) = delete;

    bool add(int entry, const QString &path) override;
    void remove(int entry) override;
    bool isWatched(int entry) const override;
    void setHandler(std::function<void(int entry)> onChange) override;
    // The descriptor is not read meanwhile; the kernel keeps the events.
    void holdNotices(int milliseconds) override;

private:
    struct Watched
    {
        QByteArray folder; // the path's bytes up to its last "/" ("." for none)
        QByteArray name; // and after it
        QByteArray path;
        int folderWatch = -1;
        int fileWatch = -1; // -1 while the name leads to no regular file
    };

    void readEvents();
    // Points the entry's file watch at what its name leads to now; false when the system
    // refused a watch for a file that is there.
    bool aimFileWatch(Watched &watched);
    // Removes a kernel watch unless another entry still uses it.
    void release(int watch);
    // Forgets a watch the kernel has dropped by itself.
    void forget(int watch);

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_hold; // while it runs the descriptor is not read
    std::map<int, Watched> m_entries;
    std::function<void(int)> m_onChange;
};
