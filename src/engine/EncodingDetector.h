#pragma once

#include <QByteArrayView>

#include <bitset>

class ShiftJisDecoder;
class TextDecoder;

// Decides which character set a watched file is in (CharacterSets::kShiftJis, kEucJp or kUtf8)
// from its first bytes that are not ASCII.
//
// The evidence is one window: from the first byte of 0x80 or more up to the end of its line,
// at most kWindowBytes. It is a function of the file's bytes alone, never of how they arrived,
// so a file read in pieces is decided exactly as one read whole. Until the window is complete
// (its line end, or kWindowBytes after its first byte, has been written) nothing is decided:
// the bytes from the first non-ASCII one on must wait. A file that has shown only ASCII needs
// no decision: ASCII reads alike in all three.
//
// The rule:
// 1. A byte order mark (EF BB BF) at the very start of the file: UTF-8.
// 2. Otherwise the window is decoded in each of the three, and each reading is scored
//    character by character for how plausible it is as Japanese: hiragana 6, katakana 5,
//    kanji of JIS level 1 and Latin-1 symbols 4, Japanese punctuation, full-width forms and
//    numbered or enclosed forms (①, Ⅱ, ㈱) 3, half-width katakana 2 in Shift_JIS (one byte
//    each) and 4 in the others, half-width punctuation 0 in Shift_JIS and 1 in the others,
//    level-2 kanji and other symbols 1, private-use and C1 control characters -5, damage
//    (U+FFFD) -10; a half-width voiced mark after a kana that takes one earns 3 more. The
//    highest score wins; ties go to UTF-8, then EUC-JP, then Shift_JIS.
// Where it is wrong: a window of half-width katakana alone, of even length and without voiced
// marks, reads as well as EUC-JP kanji and is taken for EUC-JP; a window holding only a few
// two-byte UTF-8 characters (Latin-1, Greek) may read better as Shift_JIS or EUC-JP, and a
// Shift_JIS pair of half-width katakana from 0xC2..0xDF and 0xA1..0xBF, alone, as UTF-8. A
// file whose first Japanese line is damaged may be decided wrongly for its whole life.
class EncodingDetector
{
public:
    static constexpr qsizetype kWindowBytes = 1024;

    EncodingDetector(const ShiftJisDecoder &sjis, const TextDecoder &euc, const TextDecoder &utf8);

    struct Finding
    {
        enum class Kind {
            AsciiOnly, // nothing to decide yet
            Waiting, // the window is not complete; bytes from firstNonAscii on must wait
            Decided,
        };
        Kind kind = Kind::AsciiOnly;
        qint32 characterSet = -1; // when Decided
        qsizetype firstNonAscii = -1; // when Waiting or Decided
    };

    // What the bytes tell, from a read position on to as far as the file has been written.
    // The bytes before the read position were ASCII. atFileStart: bytes[0] is the file's
    // first byte.
    Finding examine(QByteArrayView bytes, bool atFileStart) const;

    // The character set a window (starting at a non-ASCII byte) reads best in. cutOff: the
    // window ends inside its line, maybe inside a character.
    qint32 decide(QByteArrayView window, bool cutOff) const;

    static qsizetype firstNonAscii(QByteArrayView bytes);

private:
    int score(QStringView text, qint32 characterSet) const;
    int weight(char16_t c, qint32 characterSet) const;

    const ShiftJisDecoder &m_sjis;
    const TextDecoder &m_euc;
    const TextDecoder &m_utf8;
    // The kanji of JIS X 0208 level 1, by code point from U+4E00.
    std::bitset<0xA000 - 0x4E00> m_levelOne;
};
