#pragma once

#include "view/store/SpillFile.h"

#include <QByteArray>

// The log store's spill file on the local disk: one file in the user's cache folder
// (defaultFolder(); made, mode 0700, when missing) that never has a name. It is opened with
// O_TMPFILE where the file system offers that; elsewhere it is created under a random name and
// unlinked at once, and used only if the unlink worked. So no other program, no later run and
// no second Pivex ever sees it, every instance has a file of its own, and the system frees its
// space when it is closed (with the store) or when the program dies, a crash included.
//
// The file is opened at the first append, so a view that never seals a block never makes one.
// When opening fails (no home, a read-only file system, a file where the folder should be) it
// is not tried again: every append fails and the store keeps its frames in memory, as it would
// without a spill file. A failed write (a full disk) fails that append only; the next one tries
// again. clear() truncates the file to nothing, which gives its blocks back to the file system.
//
// Bytes go out and come back with pwrite and pread at the offsets the store keeps, so no seek
// position is shared between a write and a read. Where the system has neither (not a POSIX
// system) every append fails.
class CacheSpillFile : public SpillFile
{
public:
    // folder: where the file goes, as the path's bytes (file names on Linux are bytes); empty
    // means defaultFolder(). A relative folder is refused: no file is made.
    explicit CacheSpillFile(QByteArray folder = QByteArray());
    ~CacheSpillFile() override;
    CacheSpillFile(const CacheSpillFile &) = delete;
    CacheSpillFile &operator=(const CacheSpillFile &) = delete;

    std::optional<qint64> append(QByteArrayView bytes) override;
    bool read(qint64 offset, QByteArray &buffer) const override;
    void clear() override;
    qint64 size() const override { return m_end; }

    // The length of the file as the file system has it: at least size(), more after a write
    // that failed part way; -1 while no file is open.
    qint64 fileBytes() const;

    // $XDG_CACHE_HOME when it holds an absolute path, else .cache in the home folder.
    static QByteArray defaultFolder();

private:
    bool open();

    QByteArray m_folder;
    int m_fd = -1;
    bool m_openTried = false;
    qint64 m_end = 0;
};
