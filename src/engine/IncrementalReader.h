#pragma once

#include "engine/EncodingDetector.h"
#include "engine/EucJpDecoder.h"
#include "platform/Utf8Decoder.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class Clock;
class FileAccess;
class OpenFile;
class ShiftJisDecoder;
class TextSink;
class WatchedFileTable;
struct FollowState;

// How much of a file one read takes and how long an unfinished line waits.
struct ReadLimits
{
    // Bytes read, decoded and handed over at a time: memory stays a small multiple of this
    // however much a file has grown.
    qint64 chunkBytes = qint64(2) << 20;
    // An unfinished line longer than this is shown as far as it has been written...
    qint64 heldBytes = qint64(64) << 10;
    // ...and so is one that has not grown for this long.
    qint64 heldMs = 1000;
};

// One look at one entry. It ends at the file's length when it began, so a file that grows
// faster than it is read cannot keep the other entries waiting; it may take several chunks.
struct Look
{
    int slot = -1;
    qint64 begin = -1; // 0-based offsets of what the look takes
    qint64 end = -1;
};

enum class ReadStep {
    Done, // the look has taken everything up to its end (an unfinished line may wait)
    More, // a chunk was taken; the look goes on with the next
    Failed, // nothing changed: the file could not be opened or read
};

// What one chunk gave.
struct Difference
{
    // The text in the log store's byte form, CR LF as every line end (see TextSink::show);
    // it lies in the reader's buffer and holds until the reader's next read.
    QByteArrayView text;
    qint64 bytesTaken = 0;
    bool continuesLine = false;
    bool reachedEnd = false; // the chunk was the look's last
};

// Finds what was appended to a watched file since the last look, chunk by chunk.
//
// Each chunk is one open-read-close of at most chunkBytes: nothing is held open between two
// chunks and nothing is ever written. A chunk is read into a buffer and decoded straight into
// the log store's byte form in another, both kept from chunk to chunk, so however much is read
// the reader allocates them once. The read position moves only past text handed to the
// sink, and the sink is given the text before the position moves, so a failure anywhere (the
// sink's included) leaves the text to be read again. Bytes not shown stay unread:
// - a character whose last bytes the writer has not written yet;
// - the unfinished last line, until its line end arrives, unless it is longer than heldBytes
//   or has kept its length for heldMs: then it is shown as it stands and what follows continues
//   it. So lines of different files never mix and grep mode sees whole lines. Leaving them
//   unread rather than keeping them with the entry means a change of character set, a shrink or
//   a rotation needs nothing special, and costs at most heldBytes read again per look.
// A CR that ends a chunk ends its line there; an LF that opens the entry's next chunk is its
// pair and is dropped, so CR-only files are not delayed and a split CR LF is one line end.
//
// Character sets: CharacterSets' values; any other reads as Shift_JIS. A UTF-8 byte order mark
// at the very start of a file is taken without being shown. Under kAutomatic each entry is
// read in the set its EncodingDetector decided; the decision is kept in its FollowState, so it
// lasts until the file is read from its start again (or the position is set from outside).
// Until then the entry reads as ASCII, and the bytes from its first non-ASCII one on wait,
// like an unfinished line, until the detector's window is complete: a look that is still
// deciding takes a chunk of at least the window's size so that it always can be.
//
// A file shorter than what was already read (strictly shorter than position - 1), and a name
// that now leads to another file, are read again from their start. Another file is one with
// another device and inode, and any file at all after a look that found the name missing or
// leading to no regular file (a FIFO, a folder): a file system may give a new file the old
// inode number. When the name leads to another file, the rest of the old one is read first
// while it is still in the same folder under another name (a log rotated to app.log.1); its
// unfinished last line keeps the entry on it until that line is shown. A file truncated and
// refilled past the old position between two looks is not noticed.
class IncrementalReader
{
public:
    IncrementalReader(const FileAccess &files, const ShiftJisDecoder &decoder,
                      WatchedFileTable &table, const Clock &clock, ReadLimits limits = {});

    // Places the entry's read position behind the file's current end. False when the file
    // cannot be opened or the entry has no valid slot; nothing changes then.
    bool setupFilePointer(int lngIndex);

    // Reads the next chunk of the entry's look into the sink. A look that belongs to another
    // slot (or a default one) starts afresh. On Failed the read position is as it was when the
    // chunk began (1 after a detected shrink or rotation).
    ReadStep readNext(int lngIndex, qint32 characterSet, Look &look, TextSink &sink);

    // Reads one chunk from the file's current place, position lngFilePointer (1-based), up to
    // 0-based offset end, and decodes what is to be shown. state is the entry's follow state;
    // it is updated for the position behind the bytes taken.
    std::optional<Difference> getDifference(OpenFile &lngFileNum, qint64 lngFilePointer, qint64 end,
                                            qint32 characterSet, FollowState &state);

    const ReadLimits &limits() const { return m_limits; }
    const WatchedFileTable &table() const { return m_table; }

private:
    const TextDecoder &decoderFor(qint32 characterSet) const;

    const FileAccess &m_files;
    const ShiftJisDecoder &m_sjis;
    EucJpDecoder m_euc;
    Utf8Decoder m_utf8;
    EncodingDetector m_detector;
    WatchedFileTable &m_table;
    const Clock &m_clock;
    ReadLimits m_limits;
    QByteArray m_chunk; // the file's bytes of the chunk being read
    QByteArray m_decoded; // their text in the store's form
};
