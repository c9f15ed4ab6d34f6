#pragma once

#include "platform/FileAccess.h"

// Watched files on the local disk, named by paths that hold their bytes (NativePath); a path
// with a NUL in it names nothing. On POSIX systems a file is opened non-blocking and checked to
// be a regular file before anything is read, so a FIFO or a device named as a log never
// freezes the window; the descriptor is closed when the OpenFile goes.
class LocalFileAccess : public FileAccess
{
public:
    bool exists(const QString &path) const override;
    std::unique_ptr<OpenFile> openForReading(const QString &path) const override;
    bool nameIsGone(const QString &path) const override;
    std::optional<QString> otherNameOf(const QString &path,
                                       const FileIdentity &identity) const override;
};
