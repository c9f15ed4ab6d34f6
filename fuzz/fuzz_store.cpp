// The log store under random appends. The input is a plan: byte 0 picks the block size (16 to
// 271 bytes, so pieces cross many block edges), byte 1 holds flags, byte 2 a pattern for them,
// and the rest is pieces of text, each a length byte and that many UTF-16 units, any values
// (lone surrogates, CR, LF, NUL included). The flags:
// - bit 0: a byte of every sealed frame goes bad after it is made, at a place byte 2 picks;
// - bit 1: sealed frames spill to the real spill file (a nameless file in the cache folder);
// - bit 2: they spill to a file in memory whose n-th write fails when bit n % 8 of byte 2 is
//   set (bit 1 wins over this);
// - bit 3: with bit 2, the n-th frame stored there reads back wrong when bit n % 8 of byte 2
//   is set: not at all for even n, with one byte changed for odd n;
// - bit 4: the reads wait for every block to be sealed; without it they may meet blocks still
//   being sealed, read from their plain bytes.
//
// What must hold: the store's size and line count are those of the pieces joined with their
// line ends made CR LF; every read returns exactly the joined text's units (or, with damaged
// frames or frames that read back wrong, text of the same length with its LFs in place,
// flagged as damaged; a write that fails damages nothing); every line starts after an LF; find,
// forwards and backwards, agrees with TextSearch over the joined text. Arbitrary bytes handed to
// the codec as a frame are refused or decoded, never read or written past their buffers.

#include "FuzzCheck.h"

#include "platform/CacheSpillFile.h"
#include "view/store/BlockCodec.h"
#include "view/store/LogStore.h"
#include "view/store/StoreSearch.h"
#include "view/store/TextSearch.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

class DamagingCodec : public BlockCodec
{
public:
    explicit DamagingCodec(uint8_t where)
        : m_where(where)
    {
    }
    void compress(QByteArrayView plain, QByteArray &frame) const override
    {
        BlockCodec::compress(plain, frame);
        const qsizetype at = m_where % frame.size();
        frame[at] = char(frame.at(at) ^ 0x5A);
    }

private:
    uint8_t m_where;
};

class FlakySpillFile : public SpillFile
{
public:
    FlakySpillFile(uint8_t pattern, bool badReads)
        : m_pattern(pattern)
        , m_badReads(badReads)
    {
    }
    std::optional<qint64> append(QByteArrayView bytes) override
    {
        if (hits(m_writes++))
            return std::nullopt;
        m_starts.push_back(m_bytes.size());
        m_bytes += bytes;
        return m_starts.back();
    }
    bool read(qint64 offset, QByteArray &buffer) const override
    {
        if (offset < 0 || offset + buffer.size() > m_bytes.size())
            return false;
        const size_t frame
            = size_t(std::lower_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin());
        if (m_badReads && hits(frame) && frame % 2 == 0)
            return false;
        buffer = m_bytes.sliced(offset, buffer.size());
        if (m_badReads && hits(frame) && !buffer.isEmpty()) {
            const qsizetype at = qsizetype((m_pattern + frame) % size_t(buffer.size()));
            buffer[at] = char(buffer.at(at) ^ 0x01);
        }
        return true;
    }
    void clear() override
    {
        m_bytes.clear();
        m_starts.clear();
    }
    qint64 size() const override { return m_bytes.size(); }

private:
    bool hits(size_t n) const { return (m_pattern >> (n % 8)) & 1; }

    uint8_t m_pattern;
    bool m_badReads;
    size_t m_writes = 0;
    QByteArray m_bytes;
    std::vector<qint64> m_starts;
};

std::unique_ptr<SpillFile> spillFor(uint8_t flags, uint8_t pattern)
{
    if (flags & 2)
        return std::make_unique<CacheSpillFile>();
    if (flags & 4)
        return std::make_unique<FlakySpillFile>(pattern, flags & 8);
    return nullptr;
}

QString withCrLf(QString piece)
{
    return piece.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n').replace(u"\n"_qs, u"\r\n"_qs);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const qsizetype blockBytes = 16 + data[0];
    // Frames that go bad, or come back wrong from the file.
    const bool damage = (data[1] & 1) || (data[1] & 0xE) == 0xC;
    LogStore store(blockBytes, data[1] & 1 ? std::make_unique<DamagingCodec>(data[2]) : nullptr,
                   spillFor(data[1], data[2]));

    QString expected;
    QStringList pieces;
    for (size_t at = 3; at < size;) {
        const size_t wanted = data[at++];
        const size_t units = std::min<size_t>(wanted, (size - at) / 2);
        QString piece(qsizetype(units), Qt::Uninitialized);
        for (size_t k = 0; k < units; ++k, at += 2)
            piece[qsizetype(k)] = QChar(char16_t(data[at] | (data[at + 1] << 8)));
        store.append(piece);
        expected += withCrLf(piece);
        pieces.append(piece);
        if (units == 0)
            ++at;
    }

    if (data[1] & 16)
        store.waitForSeals();
    fuzzCheck(store.size() == expected.size(), "size is the joined text's");
    fuzzCheck(store.lineCount() == expected.count(u'\n') + 1, "line count is LFs plus one");
    const ReadResult all = store.read(StoreOffset(0), expected.size());
    fuzzCheck(all.text.size() == expected.size(), "a read has the asked length");
    fuzzCheck(all.text.count(u'\n') == expected.count(u'\n'), "LFs stay in place");
    if (all.status == ReadStatus::Intact)
        fuzzCheck(all.text == expected, "an intact read is the joined text");
    else
        fuzzCheck(damage, "only damaged frames read as damaged");

    qint64 line = 0;
    for (qsizetype at = 0; at < all.text.size(); ++at) {
        if (all.text.at(at) != u'\n')
            continue;
        ++line;
        fuzzCheck(store.lineStart(LineNo(line)) == StoreOffset(at + 1), "lines start after LFs");
        fuzzCheck(store.lineOf(StoreOffset(at)) == LineNo(line - 1), "an LF ends its line");
        fuzzCheck(store.lineOf(StoreOffset(at + 1)) == LineNo(line), "a line holds its start");
    }
    for (qsizetype at = 0; at < expected.size(); at += 1 + at % 7) {
        const ReadResult part = store.read(StoreOffset(at), 1 + at % 13);
        fuzzCheck(part.text == all.text.mid(at, 1 + at % 13), "reads agree with the whole");
    }

    if (!damage) {
        for (const QString &piece : std::as_const(pieces)) {
            const QString word = withCrLf(piece).left(4);
            for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                const qsizetype from = word.size() % 3;
                const auto expectedHit = TextSearch::findForward(expected, word, from, sensitivity);
                const auto hit
                    = StoreSearch::findForward(store, word, StoreOffset(from), sensitivity);
                fuzzCheck(hit.has_value() == expectedHit.has_value()
                              && (!hit || hit->value == *expectedHit),
                          "find agrees with the plain search");
                // Backwards from as far before the end: the last hit that ends by then.
                const qsizetype end = expected.size() - from;
                std::optional<qsizetype> last;
                for (auto at = TextSearch::findForward(expected, word, 0, sensitivity);
                     at && *at + word.size() <= end;
                     at = TextSearch::findForward(expected, word, *at + 1, sensitivity))
                    last = at;
                const auto back
                    = StoreSearch::findBackward(store, word, StoreOffset(end), sensitivity);
                fuzzCheck(back.has_value() == last.has_value() && (!back || back->value == *last),
                          "backward find agrees with the plain search");
            }
        }
    }

    // The input itself as a frame.
    QByteArray plain(qsizetype(data[0]) * 4, Qt::Uninitialized);
    BlockCodec().decompress(QByteArrayView(data, qsizetype(size)), plain);
    return 0;
}
