#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class FileAccess;
class IncrementalReader;
class LogAppender;
class ReadProgress;
class WatchedFileTable;

// What stopped the start: the message for the box, and the file it was about (empty for
// none; the box names it only for a read error, the terminal always).
struct StartupFailure
{
    QString message;
    QString path;
};

// The start-up messages; each ends the program before its window is shown.
namespace StartupMessages {
StartupFailure invalidArguments();
StartupFailure missingFile(const QString &path);
StartupFailure readError(const QString &entryName);
// The same for standard error, for a start from a terminal or a script: "pivex: ", what went
// wrong, and the file's name as the bytes it is, so that it can be pasted back.
QByteArray forTerminal(const StartupFailure &failure);
} // namespace StartupMessages

// Checks and positions every registered file in list order, each completely before the next:
// it must exist, its read position goes behind its current end and, in view mode, its whole
// content is shown, in chunks, with progress for a read that takes a while. Returns what stops
// the start, or nullopt.
//
// Edge cases: the first missing file stops everything after it (files set up before it are
// simply abandoned); a file that vanishes between its existence test and its set-up, or that
// exists but cannot be read (a directory, a FIFO, no permission), gives the read-error message
// naming the entry, not the missing-file one.
std::optional<StartupFailure> setUpWatchedFiles(WatchedFileTable &table, const FileAccess &files,
                                                IncrementalReader &reader, LogAppender &appender,
                                                bool viewMode, ReadProgress &progress);
