#pragma once

#include <QString>

#include <functional>

// Tells when a watched file may have changed, so that it can be read at once instead of at the
// next tick of the polling timer. It only ever says "this entry may have changed": what
// changed, and what to read, is found out by reading, exactly as on a tick. A notice may come
// for nothing, and many changes may come as one notice; none is lost while the entry has a
// watch.
//
// Entries are told apart by a small number of the caller's (the watched-file slot). The file
// and the folder it lives in are watched, so that a file renamed away, deleted, replaced or
// created anew under the name is noticed too. A watch never holds the file open.
//
// Edge cases: two entries may name the same file or the same folder; each is told. A name that
// does not exist yet is watched through its folder and told when it appears.
class FileWatch
{
public:
    virtual ~FileWatch() = default;

    // Starts watching the file at path for the entry, replacing what the entry watched before.
    // False when no watch can be set up (the system's limit of watches is reached, the folder
    // cannot be read, the system has no such service): the entry is then followed by polling
    // alone.
    virtual bool add(int entry, const QString &path) = 0;
    // Stops watching for the entry; an entry that has no watch is no error.
    virtual void remove(int entry) = 0;
    // Whether the entry is watched now: a watch can be lost later (its folder deleted, the
    // limit reached when the name came to hold another file).
    virtual bool isWatched(int entry) const = 0;
    // Called from the event loop with an entry whose file may have changed; at most once per
    // entry for the notices read together.
    virtual void setHandler(std::function<void(int entry)> onChange) = 0;
    // A hint that nothing will be read for the next milliseconds: notices meanwhile may wait
    // and come together at its end, which saves waking the program for each of them.
    virtual void holdNotices(int) { }
};
