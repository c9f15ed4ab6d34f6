// Decoding a log that arrives in pieces. The input is a plan:
//   byte 0: bits 0-1 pick the character set (Shift_JIS, EUC-JP, UTF-8, automatic); bit 2 moves
//           the reader's clock past the wait for an unfinished line before every look, so
//           unfinished lines are shown as they stand and continued later; bits 3-7 pick the
//           reader's limits (0: the program's own, else chunks of a few bytes);
//   byte 1: how many chunk-length bytes follow (modulo 16); then those lengths; then the log.
// The log is appended to a real file chunk by chunk, each chunk followed by one look through
// the real reader. What the looks showed, put together, must be exactly what a reader with the
// program's own limits shows of the whole file in one look, in every character set: damage is
// U+FFFD and never takes a line end with it, a CR LF pair split between two looks is one line
// end, and an unfinished line shown early is continued, not repeated; a UTF-8 byte order mark
// at the start is dropped however it arrives, and the automatic setting decides each file alike
// however its bytes arrive. Both sides end by showing the unfinished last line after its wait,
// and stop at the same position.
//
// Apart from the reader, each decoder's two outputs must agree on the whole log, with either
// tail: the store's bytes written in the decoding pass are exactly the decoded text with each CR
// made CR LF and encoded into the store's form, and both consume the same bytes.
//
// Nothing is excused: the list of exceptions this harness once had (a split CR LF shown as two
// line ends, EUC-JP conversion failures, converted bytes forming a lead byte at a read's end)
// went with the faults behind it.

#include "FuzzCheck.h"

#include "engine/CharacterSets.h"
#include "engine/EucJpDecoder.h"
#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"
#include "platform/Utf8Decoder.h"
#include "view/store/UnitCoding.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxLog = 64 * 1024;
constexpr size_t kMaxChunks = 512;

struct Environment
{
    QTemporaryDir dir;
    LocalFileAccess files;
    Cp932Decoder decoder;
    EucJpDecoder euc {decoder};
    Utf8Decoder utf8;
};

Environment &environment()
{
    static Environment env;
    return env;
}

struct ManualClock : Clock
{
    qint64 nowMs() const override { return now; }
    qint64 now = 0;
};

struct Plan
{
    qint32 characterSet = 0;
    bool waitBeforeEveryLook = false;
    ReadLimits limits;
    std::vector<qsizetype> chunks; // lengths, summing to log.size()
    QByteArray log;
};

Plan makePlan(const uint8_t *data, size_t size)
{
    Plan plan;
    plan.characterSet = data[0] & 3; // CharacterSets' four values
    plan.waitBeforeEveryLook = data[0] & 4;
    if (const int k = data[0] >> 3) {
        plan.limits.heldBytes = 4 + k;
        plan.limits.chunkBytes = 2 * plan.limits.heldBytes + k % 7;
    }
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

// Everything shown, checked as it arrives.
struct CheckingSink : TextSink
{
    explicit CheckingSink(qint64 chunkBytes)
        : chunkBytes(chunkBytes)
    {
    }
    void show(int, QByteArrayView piece, bool continuesLine) override
    {
        fuzzCheck(!piece.isEmpty(), "only text is handed over");
        const qsizetype pairs = piece.count("\r\n");
        fuzzCheck(piece.count('\r') == pairs && piece.count('\n') == pairs,
                  "every line end is CR LF");
        fuzzCheck(piece.size() <= 3 * chunkBytes, "a chunk's text takes at most 3 bytes a byte");
        const bool lineOpen = !text.isEmpty() && !text.endsWith("\r\n");
        fuzzCheck(continuesLine == lineOpen, "text continues exactly a line shown unfinished");
        text += piece;
    }
    qint64 chunkBytes;
    QByteArray text;
};

// One entry at position 1 reading the file at path.
struct Reading
{
    ManualClock clock;
    WatchedFileTable table;
    IncrementalReader reader;
    CheckingSink sink;

    Reading(const QString &path, ReadLimits limits)
        : reader(environment().files, environment().decoder, table, clock, limits)
        // A look still deciding a file's character set takes at least the detector's window.
        , sink(std::max(reader.limits().chunkBytes, qint64(EncodingDetector::kWindowBytes)))
    {
        table.append(path, table.getIndex());
        table.setFilePointerOfEntry(0, 1);
    }
    qint64 position() const { return table.filePointerOfEntry(0).value_or(-1); }

    void look(qint32 characterSet)
    {
        Look look;
        ReadStep step;
        while ((step = reader.readNext(0, characterSet, look, sink)) == ReadStep::More) { }
        fuzzCheck(step == ReadStep::Done, "a read of a regular file never fails");
    }
    // Lets the unfinished last line wait its time, then shows it.
    void finish(qint32 characterSet)
    {
        look(characterSet);
        clock.now += reader.limits().heldMs;
        look(characterSet);
    }
};

// Both outputs of each decoder, with either tail.
void checkStoreForm(const QByteArray &log)
{
    const Environment &env = environment();
    for (const TextDecoder *decoder : {static_cast<const TextDecoder *>(&env.decoder),
                                       static_cast<const TextDecoder *>(&env.euc),
                                       static_cast<const TextDecoder *>(&env.utf8)}) {
        for (const auto tail : {TextDecoder::Tail::KeepIncomplete, TextDecoder::Tail::DecodeAll}) {
            const DecodedText text = decoder->decode(log, tail);
            QByteArray storeBytes("kept");
            const qsizetype consumed = decoder->decodeForStore(log, tail, storeBytes);
            fuzzCheck(consumed == text.consumed, "both outputs consume alike");
            fuzzCheck(storeBytes == "kept" + UnitCoding::encoded(text.text),
                      "the store's bytes are the text's, appended");
        }
    }
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = environment().dir.filePath(name);
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                  && file.write(bytes) == bytes.size(),
              "the scratch file can be written");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Plan plan = makePlan(data, size);
    checkStoreForm(plan.log);

    const QString path = writeFile(QStringLiteral("chunked.log"), {});
    const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    fuzzCheck(writer >= 0, "the writer opens the log");
    Reading pieces(path, plan.limits);
    qsizetype written = 0;
    for (const qsizetype length : plan.chunks) {
        fuzzCheck(::write(writer, plan.log.constData() + written, size_t(length)) == length,
                  "the writer appends the chunk");
        written += length;
        if (plan.waitBeforeEveryLook)
            pieces.clock.now += pieces.reader.limits().heldMs;
        const qint64 start = pieces.position();
        pieces.look(plan.characterSet);
        const qint64 end = pieces.position();
        fuzzCheck(end >= start && end <= written + 1, "the position moves forward within the file");
    }
    ::close(writer);
    pieces.finish(plan.characterSet);

    Reading whole(path, {});
    whole.finish(plan.characterSet);
    fuzzCheck(whole.position() == pieces.position(), "pieces and whole end at one position");
    fuzzCheck(pieces.sink.text == whole.sink.text, "pieces read the same text as the whole");
    const auto detected
        = [](const Reading &reading) { return reading.table.followState(0)->detected; };
    fuzzCheck(detected(pieces) == detected(whole), "pieces and whole decide alike");
    fuzzCheck(plan.characterSet == CharacterSets::kAutomatic || !detected(whole),
              "only the automatic setting decides");
    return 0;
}
