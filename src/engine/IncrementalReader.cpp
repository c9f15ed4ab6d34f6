#include "engine/IncrementalReader.h"

#include "engine/CharacterSets.h"
#include "engine/PreviousFile.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "platform/ShiftJisDecoder.h"

#include <algorithm>
#include <limits>

namespace {

// A character is at most this long; a forced piece must be able to take something.
constexpr qint64 kLongestCharacter = 4;

// Offset just behind the last CR or LF, or 0 without one.
qsizetype behindLastLineEnd(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size(); i > 0; --i) {
        const char c = bytes[i - 1];
        if (c == '\n' || c == '\r')
            return i;
    }
    return 0;
}

ReadLimits sane(ReadLimits limits)
{
    limits.heldBytes = std::max(limits.heldBytes, kLongestCharacter);
    limits.chunkBytes = std::max(limits.chunkBytes, limits.heldBytes + kLongestCharacter);
    return limits;
}

} // namespace

IncrementalReader::IncrementalReader(const FileAccess &files, const ShiftJisDecoder &decoder,
                                     WatchedFileTable &table, const Clock &clock, ReadLimits limits)
    : m_files(files)
    , m_sjis(decoder)
    , m_euc(decoder)
    , m_detector(decoder, m_euc, m_utf8)
    , m_table(table)
    , m_clock(clock)
    , m_limits(sane(limits))
{
}

const TextDecoder &IncrementalReader::decoderFor(qint32 characterSet) const
{
    switch (characterSet) {
    case CharacterSets::kEucJp:
        return m_euc;
    case CharacterSets::kUtf8:
        return m_utf8;
    default:
        return m_sjis;
    }
}

bool IncrementalReader::setupFilePointer(int lngIndex)
{
    const auto slot = m_table.itemData(lngIndex);
    const auto file = m_files.openForReading(m_table.path(lngIndex));
    if (!slot || !file)
        return false;
    const auto length = file->length();
    // A file of the largest length (sparse, on tmpfs) has no position after its end.
    if (!length || *length == std::numeric_limits<qint64>::max()
        || !m_table.setFilePointer(*slot, *length + 1))
        return false;
    FollowState state;
    state.identity = file->identity();
    return m_table.commitRead(*slot, *length + 1, state);
}

ReadStep IncrementalReader::readNext(int lngIndex, qint32 characterSet, Look &look, TextSink &sink)
{
    const auto slot = m_table.itemData(lngIndex);
    const auto stored = slot ? m_table.lngFilePointer(*slot) : std::nullopt;
    if (!stored || *stored < 1)
        return ReadStep::Failed;
    if (look.slot != *slot)
        look = Look {*slot};
    const QString path = m_table.path(lngIndex);
    FollowState state = *m_table.followState(*slot);
    const auto file = m_files.openForReading(path);
    if (!file && !state.nameLost && m_files.nameIsGone(path)) {
        state.nameLost = true;
        m_table.commitRead(*slot, *stored, state);
    }

    qint64 position = *stored;
    // One chunk of the look from the open file of that length at the position, shown, then
    // committed.
    const auto readChunk = [&](OpenFile &from, qint64 length) {
        if (look.end < 0) {
            look.begin = position - 1;
            look.end = length;
        }
        if (!from.seek(position - 1))
            return ReadStep::Failed;
        const auto difference
            = getDifference(from, position, std::min(look.end, length), characterSet, state);
        if (!difference)
            return ReadStep::Failed;
        if (!difference->text.isEmpty())
            sink.show(*slot, difference->text, difference->continuesLine);
        position += difference->bytesTaken;
        m_table.commitRead(*slot, position, state);
        return difference->reachedEnd ? ReadStep::Done : ReadStep::More;
    };

    const auto identity = file ? file->identity() : std::nullopt;
    const bool otherFile
        = state.nameLost || (identity && state.identity && *identity != *state.identity);
    if (otherFile) {
        // The rest of the file read so far comes first, while it is in the folder under another
        // name, also before a new file is made under the name (it may be deleted by then); an
        // unfinished last line keeps the entry on it until it is shown.
        if (const auto previous = PreviousFile::open(m_files, path, state, position)) {
            const auto length = previous->length();
            const ReadStep step = length ? readChunk(*previous, *length) : ReadStep::Failed;
            if (step != ReadStep::Done || position - 1 < *length || !file)
                return step;
        }
    }
    if (!file) {
        m_table.commitRead(*slot, position, state); // where the old file was looked for
        return ReadStep::Failed;
    }
    const auto length = file->length();
    if (!length)
        return ReadStep::Failed;
    if (otherFile || *length < position - 1) {
        // Another file under the name, or this one cut shorter than what was read: its start.
        position = 1;
        state = FollowState {};
        look = Look {*slot};
        m_table.commitRead(*slot, position, state);
    }
    state.identity = identity;
    return readChunk(*file, *length);
}

std::optional<Difference> IncrementalReader::getDifference(OpenFile &lngFileNum,
                                                           qint64 lngFilePointer, qint64 end,
                                                           qint32 characterSet, FollowState &state)
{
    Difference result;
    result.continuesLine = state.midLine;
    const qint64 start = lngFilePointer - 1;
    const bool deciding = characterSet == CharacterSets::kAutomatic && !state.detected;
    const qint64 chunkBytes = deciding
        ? std::max(m_limits.chunkBytes, qint64(EncodingDetector::kWindowBytes))
        : m_limits.chunkBytes;
    const qint64 n = std::min(chunkBytes, end - start);
    m_chunk.resize(0);
    if (n > 0 && !lngFileNum.read(n, m_chunk))
        return std::nullopt;
    // A short read means the file was cut meanwhile: this is as far as the look gets.
    result.reachedEnd = m_chunk.size() < n || start + n >= end;

    QByteArrayView rest(m_chunk);
    const bool pairsWithCr = state.afterCr && rest.startsWith('\n');
    if (pairsWithCr)
        rest = rest.sliced(1);
    result.bytesTaken = pairsWithCr ? 1 : 0;

    // How far this chunk may be taken: an undecided file stops before its first non-ASCII
    // byte until the decision can be made.
    qsizetype takeable = rest.size();
    qint32 readAs = characterSet;
    if (deciding) {
        const auto finding = m_detector.examine(rest, start == 0);
        if (finding.kind == EncodingDetector::Finding::Kind::Decided)
            state.detected = finding.characterSet;
        else if (finding.kind == EncodingDetector::Finding::Kind::Waiting)
            takeable = finding.firstNonAscii;
    }
    if (characterSet == CharacterSets::kAutomatic)
        readAs = state.detected.value_or(CharacterSets::kShiftJis); // ASCII reads alike in all
    if (readAs == CharacterSets::kUtf8 && start == 0 && rest.startsWith("\xEF\xBB\xBF")) {
        rest = rest.sliced(3); // the byte order mark says what the file is; it is no text
        result.bytesTaken += 3;
    }
    takeable = std::min(takeable, rest.size());

    // Bytes past takeable hold no line end (the detector's window would be complete), so the
    // lines all lie before it.
    const qsizetype lines = behindLastLineEnd(rest);
    const TextDecoder &decoder = decoderFor(readAs);
    m_decoded.resize(0);
    if (lines > 0) {
        // Every CR and LF byte is a line end, so the lines decode alike on their own.
        decoder.decodeForStore(rest.first(lines), TextDecoder::Tail::DecodeAll, m_decoded);
        state.afterCr = rest[lines - 1] == '\r';
        state.midLine = false;
    } else if (pairsWithCr) {
        state.afterCr = false;
    }
    result.bytesTaken += lines;
    if (result.bytesTaken > 0)
        state.heldBytes = -1; // what waited has been taken; an unfinished line now is a new one

    const QByteArrayView unfinished = rest.sliced(lines);
    const qint64 now = m_clock.nowMs();
    const bool sameAsLastLook = unfinished.size() == state.heldBytes;
    const bool waitedLongEnough = result.reachedEnd && !unfinished.isEmpty() && sameAsLastLook
        && now - state.heldSinceMs >= m_limits.heldMs;
    if (unfinished.size() > m_limits.heldBytes || waitedLongEnough) {
        const qsizetype shown = std::max<qsizetype>(0, takeable - lines);
        const qsizetype consumed = decoder.decodeForStore(
            unfinished.first(shown), TextDecoder::Tail::KeepIncomplete, m_decoded);
        result.bytesTaken += consumed;
        if (consumed > 0) {
            state.midLine = true;
            state.afterCr = false;
        }
        state.heldBytes = -1;
    } else if (result.reachedEnd && !sameAsLastLook) {
        state.heldBytes = unfinished.size();
        state.heldSinceMs = now;
    }
    result.text = m_decoded;
    return result;
}
