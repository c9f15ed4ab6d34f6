#pragma once

#include <QString>

#include <optional>

class FileAccess;
class IncrementalReader;
class LogAppender;
class ReadProgress;
class WatchedFileTable;

// The start-up messages; each ends the program before its window is shown.
namespace StartupMessages {
QString invalidArguments();
QString missingFile();
QString readError(const QString &entryName);
} // namespace StartupMessages

// Checks and positions every registered file in list order, each completely before the next:
// it must exist, its read position goes behind its current end and, in view mode, its whole
// content is shown, in chunks, with progress for a read that takes a while. Returns the message
// to show when a file stops the start, or nullopt.
//
// Edge cases: the first missing file stops everything after it (files set up before it are
// simply abandoned); a file that vanishes between its existence test and its set-up, or that
// exists but cannot be read (a directory, a FIFO, no permission), gives the read-error message
// naming the entry, not the missing-file one.
std::optional<QString> setUpWatchedFiles(WatchedFileTable &table, const FileAccess &files,
                                         IncrementalReader &reader, LogAppender &appender,
                                         bool viewMode, ReadProgress &progress);
