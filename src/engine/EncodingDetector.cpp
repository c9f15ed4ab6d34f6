#include "engine/EncodingDetector.h"

#include "engine/CharacterSets.h"
#include "engine/EucToSjis.h"
#include "platform/ShiftJisDecoder.h"

#include <cstring>

namespace {

constexpr char16_t kKanjiStart = 0x4E00;
constexpr char16_t kKanjiEnd = 0xA000;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isHalfWidthKana(char16_t c)
{
    return c >= 0xFF61 && c <= 0xFF9F;
}

// The half-width kana a voiced or semi-voiced mark may follow: ｳ, ｶ..ﾄ, ﾊ..ﾎ.
bool takesVoicedMark(char16_t c)
{
    return c == 0xFF73 || (c >= 0xFF76 && c <= 0xFF84) || (c >= 0xFF8A && c <= 0xFF8E);
}

} // namespace

EncodingDetector::EncodingDetector(const ShiftJisDecoder &sjis, const TextDecoder &euc,
                                   const TextDecoder &utf8)
    : m_sjis(sjis)
    , m_euc(euc)
    , m_utf8(utf8)
{
    // Level 1 is JIS X 0208 rows 16 to 47, read through the code page 932 table.
    for (int row = 0x30; row <= 0x4F; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const auto [lead, trail] = Module1::jisPairToSjis(row | 0x80, cell | 0x80);
            const char16_t c = m_sjis.pair(lead, trail);
            if (c >= kKanjiStart && c < kKanjiEnd)
                m_levelOne.set(c - kKanjiStart);
        }
    }
}

qsizetype EncodingDetector::firstNonAscii(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, in + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; i < size; ++i) {
        if (in[i] >= 0x80)
            return i;
    }
    return -1;
}

EncodingDetector::Finding EncodingDetector::examine(QByteArrayView bytes, bool atFileStart) const
{
    Finding finding;
    finding.firstNonAscii = firstNonAscii(bytes);
    const qsizetype f = finding.firstNonAscii;
    if (f < 0)
        return finding;
    if (atFileStart && f == 0 && bytes.startsWith("\xEF\xBB\xBF")) {
        finding.kind = Finding::Kind::Decided;
        finding.characterSet = CharacterSets::kUtf8;
        return finding;
    }
    const QByteArrayView after = bytes.sliced(f).first(std::min(bytes.size() - f, kWindowBytes));
    qsizetype end = 0;
    while (end < after.size() && !isLineEnd(after[end]))
        ++end;
    const bool cutOff = end == kWindowBytes;
    if (end == after.size() && !cutOff) {
        finding.kind = Finding::Kind::Waiting;
        return finding;
    }
    finding.kind = Finding::Kind::Decided;
    finding.characterSet = decide(after.first(end), cutOff);
    return finding;
}

qint32 EncodingDetector::decide(QByteArrayView window, bool cutOff) const
{
    const auto tail = cutOff ? TextDecoder::Tail::KeepIncomplete : TextDecoder::Tail::DecodeAll;
    // In the order ties are settled: UTF-8 says most when it is valid, and EUC-JP's bytes are
    // nearly always valid Shift_JIS too (as half-width katakana), seldom the other way round.
    const struct
    {
        qint32 characterSet;
        const TextDecoder &decoder;
    } candidates[] = {
        {CharacterSets::kUtf8, m_utf8},
        {CharacterSets::kEucJp, m_euc},
        {CharacterSets::kShiftJis, m_sjis},
    };
    qint32 best = -1;
    int bestScore = 0;
    for (const auto &candidate : candidates) {
        const int points
            = score(candidate.decoder.decode(window, tail).text, candidate.characterSet);
        if (best < 0 || points > bestScore) {
            best = candidate.characterSet;
            bestScore = points;
        }
    }
    return best;
}

int EncodingDetector::score(QStringView text, qint32 characterSet) const
{
    int points = 0;
    char16_t previous = 0;
    for (const QChar unit : text) {
        const char16_t c = unit.unicode();
        points += weight(c, characterSet);
        if ((c == 0xFF9E || c == 0xFF9F) && takesVoicedMark(previous))
            points += 3;
        previous = c;
    }
    return points;
}

int EncodingDetector::weight(char16_t c, qint32 characterSet) const
{
    if (c < 0x80)
        return 0;
    if (c >= kKanjiStart && c < kKanjiEnd)
        return m_levelOne.test(c - kKanjiStart) ? 4 : 1;
    if (c >= 0x3041 && c <= 0x309E)
        return 6; // hiragana
    if (c >= 0x30A1 && c <= 0x30FE)
        return c == 0x30FB ? 3 : 5; // katakana, the middle dot with the punctuation
    if (isHalfWidthKana(c)) {
        // One byte in Shift_JIS, where every byte 0xA1..0xDF reads as one: two bytes elsewhere.
        const int bytes = characterSet == CharacterSets::kShiftJis ? 1 : 2;
        const bool punctuation = c <= 0xFF65;
        return punctuation ? bytes - 1 : 2 * bytes;
    }
    if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE5))
        return 3; // Japanese punctuation, full-width letters, digits and signs
    if ((c >= 0x2160 && c <= 0x217F) || (c >= 0x2460 && c <= 0x24FF)
        || (c >= 0x3200 && c <= 0x33FF))
        return 3; // numbered and enclosed forms of code page 932's NEC row: ①, Ⅱ, ㈱, ㍉
    if (c >= 0xA0 && c <= 0xFF)
        return 4; // Latin-1 symbols and letters: °, ×, ±, é
    if (c == 0xFFFD)
        return -10;
    if (c < 0xA0 || (c >= 0xE000 && c <= 0xF8FF))
        return -5; // C1 controls and private use: what no log means to write
    return 1;
}
