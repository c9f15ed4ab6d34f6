// Decoding a log that arrives in pieces. The input is a plan: byte 0 picks the encoding
// (bit 0: EUC-JP), byte 1 says how many chunk-length bytes follow, the rest is the log. The
// log is appended to a real file chunk by chunk, each chunk followed by a read through the
// real reader, and the concatenated text is compared with one read of the whole file.
//
// What may differ, and why:
// - A CR that ends one read and an LF that starts the next fold to two line ends instead of
//   one; such an extra CR is taken out before comparing.
// - Invalid EUC-JP can convert to a Shift_JIS lead byte at the very end of a read (0x8E or a
//   lead below 0xA1 followed by a byte from 0x81 to 0x9F, 0xE0 to 0xFC); each read decodes
//   its converted bytes on its own, so there the split shows. Only the positions are compared
//   then.
// - An EUC-JP lead byte followed by an ASCII byte fails the conversion: the failing read and
//   every later one fail at the same position, and so does the whole read; the text before
//   must equal one read of the bytes before that position.

#include "FuzzCheck.h"

#include "engine/EucToSjis.h"
#include "engine/IncrementalReader.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint32 kEucJp = 1;
constexpr size_t kMaxLog = 64 * 1024;
constexpr size_t kMaxChunks = 512;

struct Environment
{
    QTemporaryDir dir;
    LocalFileAccess files;
    Cp932Decoder decoder;
};

Environment &environment()
{
    static Environment env;
    return env;
}

struct Plan
{
    qint32 characterSet = 0;
    std::vector<qsizetype> chunks; // lengths, summing to log.size()
    QByteArray log;
};

Plan makePlan(const uint8_t *data, size_t size)
{
    Plan plan;
    plan.characterSet = (data[0] & 1) ? kEucJp : 0;
    const size_t lengthCount = size > 1 ? data[1] % 16 : 0;
    const size_t logStart = std::min(size, 2 + lengthCount);
    plan.log = QByteArray(reinterpret_cast<const char *>(data) + logStart,
                          qsizetype(std::min(size - logStart, kMaxLog)));

    std::vector<qsizetype> lengths(data + std::min<size_t>(size, 2), data + logStart);
    bool anyNonZero = false;
    for (qsizetype length : lengths)
        anyNonZero = anyNonZero || length > 0;
    qsizetype left = plan.log.size();
    // Zero-length chunks stay in: they are ticks that find nothing new.
    for (size_t k = 0; anyNonZero && left > 0 && plan.chunks.size() + 1 < kMaxChunks; ++k) {
        const qsizetype length = std::min(left, lengths[k % lengths.size()]);
        plan.chunks.push_back(length);
        left -= length;
    }
    plan.chunks.push_back(left);
    return plan;
}

// One entry at position 1 reading the file at path.
struct Reading
{
    WatchedFileTable table;
    IncrementalReader reader;

    explicit Reading(const QString &path)
        : reader(environment().files, environment().decoder, table)
    {
        table.append(path, table.getIndex());
        table.setFilePointerOfEntry(0, 1);
    }
    qint64 position() const { return table.filePointerOfEntry(0).value_or(-1); }
};

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = environment().dir.filePath(name);
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                  && file.write(bytes) == bytes.size(),
              "the scratch file can be written");
    return path;
}

// Whether the converted Shift_JIS of this EUC-JP segment ends in a lead byte that the next
// segment's first byte would complete in a single read.
bool endsInShiftJisLead(const QByteArray &segment)
{
    const auto sjis = Module1::convertEucToSjis(segment);
    fuzzCheck(sjis.has_value(), "a segment that was read converts again");
    const DecodedText decoded
        = environment().decoder.decode(sjis->bytes, ShiftJisDecoder::Tail::KeepIncomplete);
    return decoded.consumed < sjis->bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Plan plan = makePlan(data, size);
    const bool euc = plan.characterSet == kEucJp;

    const QString path = writeFile(QStringLiteral("chunked.log"), {});
    const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    fuzzCheck(writer >= 0, "the writer opens the log");
    Reading chunked(path);

    QString text;
    qint64 failedAt = 0; // read position of the first failed read, 0 while none failed
    std::vector<qint64> leadEnds; // read positions after reads that left a Shift_JIS lead
    qsizetype written = 0;
    for (const qsizetype length : plan.chunks) {
        fuzzCheck(::write(writer, plan.log.constData() + written, size_t(length)) == length,
                  "the writer appends the chunk");
        written += length;
        const qint64 start = chunked.position();
        const auto piece = chunked.reader.readNew(0, plan.characterSet);
        if (!piece) {
            fuzzCheck(euc, "a Shift_JIS read never fails");
            fuzzCheck(chunked.position() == start, "a failed read keeps the position");
            fuzzCheck(failedAt == 0 || failedAt == start, "a failure persists at one position");
            failedAt = start;
            continue;
        }
        fuzzCheck(failedAt == 0, "after a conversion failure every read fails");
        fuzzCheck(!piece->contains(QLatin1Char('\n')), "no LF is left in the text");
        const qint64 end = chunked.position();
        fuzzCheck(end >= start && end <= written + 1, "the position moves forward within the file");
        if (piece->isEmpty())
            continue;
        QStringView shown(*piece);
        if (start > 1 && plan.log.at(start - 2) == '\r' && plan.log.at(start - 1) == '\n') {
            fuzzCheck(shown.startsWith(QLatin1Char('\r')), "an LF after a split CR gives a CR");
            shown = shown.sliced(1);
        }
        text += shown;
        if (euc && endsInShiftJisLead(plan.log.mid(start - 1, end - start)))
            leadEnds.push_back(end);
    }
    ::close(writer);
    // Such a lead shows the split only when a later read brought the byte after it.
    const qint64 last = failedAt != 0 ? failedAt : chunked.position();
    const bool splitShows
        = std::any_of(leadEnds.begin(), leadEnds.end(), [last](qint64 end) { return end < last; });

    Reading whole(path);
    const auto all = whole.reader.readNew(0, plan.characterSet);
    if (failedAt != 0) {
        fuzzCheck(!all, "the whole read fails where a piece failed");
        Reading before(writeFile(QStringLiteral("before.log"), plan.log.left(failedAt - 1)));
        const auto expected = before.reader.readNew(0, plan.characterSet);
        fuzzCheck(expected.has_value(), "the bytes before the failure read whole");
        fuzzCheck(before.position() == failedAt, "the whole read stops where the pieces stopped");
        fuzzCheck(splitShows || text == *expected, "pieces before the failure read as one");
        return 0;
    }
    fuzzCheck(all.has_value(), "the whole read succeeds when every piece did");
    fuzzCheck(whole.position() == chunked.position(), "pieces and whole end at one position");
    fuzzCheck(splitShows || text == *all, "pieces read the same text as the whole");
    return 0;
}
