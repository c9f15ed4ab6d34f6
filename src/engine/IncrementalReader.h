#pragma once

#include <QString>

#include <optional>

class FileAccess;
class OpenFile;
class ShiftJisDecoder;
class WatchedFileTable;

// What one read found: decoded text with CR as its only line end, and how many bytes of the
// file it took. The byte count can be smaller than what was read when the read ended inside a
// multi-byte character; the rest is read again, whole, next time.
struct Difference
{
    QString text;
    qint64 bytesTaken = 0;
};

// Finds what was appended to a watched file since the last look.
//
// Each read opens the file by its path, reads just the new bytes and closes it again; nothing
// is held open between reads and nothing is ever written. A file shorter than what was already
// read (strictly shorter than position - 1) is read again from its start. A file truncated and
// refilled past the old position between two reads is not noticed.
class IncrementalReader
{
public:
    IncrementalReader(const FileAccess &files, const ShiftJisDecoder &decoder,
                      WatchedFileTable &table);

    // Places the entry's read position behind the file's current end. False when the file
    // cannot be opened or the entry has no valid slot; nothing changes then.
    bool setupFilePointer(int lngIndex);

    // The reading half of readLog2: the text appended to the entry's file since the last read
    // (possibly empty), with the read position moved past it. nullopt on failure, with the
    // read position as it was when the read began (1 after a detected shrink).
    std::optional<QString> readNew(int lngIndex, qint32 characterSet);

    // Reads from the file's current place to its end, converts EUC-JP when characterSet is 1,
    // decodes and folds line ends.
    std::optional<Difference> getDifference(OpenFile &lngFileNum, qint64 lngFilePointer,
                                            qint32 characterSet) const;

private:
    const FileAccess &m_files;
    const ShiftJisDecoder &m_decoder;
    WatchedFileTable &m_table;
};
