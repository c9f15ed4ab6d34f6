#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

// Which file a name leads to: the device and inode on POSIX systems. A watched name whose
// identity changes now names another file (rotated away, deleted and created anew).
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// One watched file, open for reading for the time of one read. Closing happens in the
// destructor, so every path out of a read (failures included) lets the file go.
class OpenFile
{
public:
    virtual ~OpenFile() = default;

    // Current length in bytes; asked afresh each time because the writer keeps appending.
    virtual std::optional<qint64> length() const = 0;
    // Places the file at a 0-based byte offset.
    virtual bool seek(qint64 offset) = 0;
    // Reads up to n bytes from the current place into buffer, resized to what was read; fewer
    // only at the end of the file. The buffer keeps its capacity, so one handed in for every
    // read is allocated once. False when the read failed; the buffer's bytes are unspecified.
    virtual bool read(qint64 n, QByteArray &buffer) = 0;
    // The open file's identity, or nullopt where the system gives none.
    virtual std::optional<FileIdentity> identity() const { return std::nullopt; }
};

// Access to watched files, read only. Implementations never open anything that could block
// the user interface (a FIFO, a device): only regular files are opened.
class FileAccess
{
public:
    virtual ~FileAccess() = default;

    // True when something other than a directory exists under that name.
    virtual bool exists(const QString &path) const = 0;
    // Opens a regular file for reading without hindering its writer; nullptr on failure.
    virtual std::unique_ptr<OpenFile> openForReading(const QString &path) const = 0;
    // True when the name leads to nothing, or to something other than a regular file; false
    // for a regular file, and when the system cannot tell (the folder may not be searched).
    virtual bool nameIsGone(const QString &) const { return false; }
    // Another name, in the folder of path, of the regular file with that identity (the log
    // rotated to app.log.1), or nullopt.
    virtual std::optional<QString> otherNameOf(const QString &, const FileIdentity &) const
    {
        return std::nullopt;
    }
};
