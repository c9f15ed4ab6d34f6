#include "engine/IncrementalReader.h"

#include "engine/EucToSjis.h"
#include "engine/WatchedFileTable.h"
#include "platform/FileAccess.h"
#include "platform/ShiftJisDecoder.h"

namespace {
constexpr qint32 kEucJp = 1;
}

IncrementalReader::IncrementalReader(const FileAccess &files, const ShiftJisDecoder &decoder,
                                     WatchedFileTable &table)
    : m_files(files)
    , m_decoder(decoder)
    , m_table(table)
{
}

bool IncrementalReader::setupFilePointer(int lngIndex)
{
    const auto file = m_files.openForReading(m_table.path(lngIndex));
    if (!file)
        return false;
    const auto length = file->length();
    if (!length)
        return false;
    return m_table.setFilePointerOfEntry(lngIndex, *length + 1);
}

std::optional<QString> IncrementalReader::readNew(int lngIndex, qint32 characterSet)
{
    if (lngIndex < 0 || lngIndex >= m_table.count())
        return std::nullopt;
    const auto file = m_files.openForReading(m_table.path(lngIndex));
    if (!file)
        return std::nullopt;
    const auto length = file->length();
    const auto slot = m_table.itemData(lngIndex);
    if (!length || !slot || !m_table.lngFilePointer(*slot))
        return std::nullopt;

    qint64 position = *m_table.lngFilePointer(*slot);
    if (*length < position - 1) {
        // The file is shorter than what was already read: start again from its beginning.
        position = 1;
        m_table.setFilePointer(*slot, position);
    }
    if (!file->seek(position - 1))
        return std::nullopt;

    const auto difference = getDifference(*file, position, characterSet);
    if (!difference)
        return std::nullopt;
    m_table.setFilePointer(*slot, position + difference->bytesTaken);
    return difference->text;
}

std::optional<Difference> IncrementalReader::getDifference(OpenFile &lngFileNum,
                                                           qint64 lngFilePointer,
                                                           qint32 characterSet) const
{
    const auto length = lngFileNum.length();
    if (!length)
        return std::nullopt;
    const qint64 n = *length - lngFilePointer + 1;
    if (n <= 0)
        return Difference {};

    auto bytes = lngFileNum.read(n);
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return Difference {}; // truncated between the two length queries

    if (characterSet == kEucJp) {
        const auto sjis = Module1::convertEucToSjis(std::move(*bytes));
        if (!sjis)
            return std::nullopt;
        // The converter has already held back a cut-off EUC-JP character; what it produced
        // is complete, so the decoder takes all of it.
        DecodedText decoded = m_decoder.decode(sjis->bytes, ShiftJisDecoder::Tail::DecodeAll);
        return Difference {std::move(decoded.text), sjis->consumed};
    }
    DecodedText decoded = m_decoder.decode(*bytes, ShiftJisDecoder::Tail::KeepIncomplete);
    return Difference {std::move(decoded.text), decoded.consumed};
}
