#pragma once

#include "platform/TextDecoder.h"

#include <QTest>

#include <string_view>
#include <vector>

// The edge cases of the decoders, one list per character set, as data-driven rows: the bytes,
// the text they give with Tail::KeepIncomplete, and how many of them that takes. Each decoder's
// test checks its list; the store-form test runs every list through the reader as well.
namespace DecoderRows {

struct Row
{
    const char *name;
    QByteArray bytes;
    std::u16string_view text;
    qsizetype consumed = -1; // -1: all of the bytes
};

inline const std::vector<Row> &shiftJis()
{
    static const std::vector<Row> rows {
        // Single bytes and key pairs as Windows has them.
        {"backslash", "\x5C", u"\\"},
        {"tilde", "\x7E", u"~"},
        {"wave dash", "\x81\x60", u"\uFF5E"},
        {"circled one", "\x87\x40", u"\u2460"},
        {"NEC-selected IBM", "\xED\x40", u"\u7E8A"},
        {"IBM small roman", "\xFA\x40", u"\u2170"},
        {"user-defined", "\xF0\x40", u"\uE000"},
        {"half-width stop", "\xA1", u"\uFF61"},
        {"0x80", "\x80", u"\u0080"},
        {"0xA0", "\xA0", u"\uF8F0"},
        {"0xFD", "\xFD", u"\uF8F1"},
        {"0xFF", "\xFF", u"\uF8F3"},
        {"NUL", QByteArray(1, '\0'), std::u16string_view(u"\0", 1)},
        // Line ends.
        {"CR LF", "a\r\nb\r\n", u"a\rb\r"},
        {"LF", "a\nb\n", u"a\rb\r"},
        {"CR", "a\rb\r", u"a\rb\r"},
        {"CR CR LF", "\r\r\n", u"\r\r"},
        {"LF CR", "\n\r", u"\r\r"},
        // A broken character never swallows the line end after it.
        {"lead then CR LF", "x\x82\r\ny", u"x\uFFFD\ry"},
        {"lead then 0x7F", "\x82\x7F", u"\uFFFD\x7F"},
        {"lead then 0xFD", "\x82\xFD", u"\uFFFD\uF8F1"},
        {"unmapped pair, ASCII trail", "\x85\x41z\xEB\x40", u"\uFFFDAz\uFFFD@"},
        {"unmapped pair, high trail", "\x85\x80z", u"\uFFFDz"},
        // UTF-8 "あERROR" read as Shift_JIS: 0x82 and "E" form no character.
        {"UTF-8 read as Shift_JIS",
         "\xE3\x81\x82"
         "ERROR\n",
         u"縺\uFFFDERROR\r"},
        {"japanese line", "\x83\x8D\x83\x4F\r\n", u"ログ\r"},
        // A character the writer has not finished waits; the last byte of a pair does not.
        {"cut-off pair", "ab\x83", u"ab", 2},
        {"trail byte that looks like a lead", "\x83\x83", u"ャ"},
    };
    return rows;
}

inline const std::vector<Row> &eucJp()
{
    static const std::vector<Row> rows {
        {"hiragana, kanji, katakana", "\xA4\xA2\xB0\xA1\x8E\xB1", u"あ亜ｱ"},
        {"NEC row 13", "\xAD\xA1", u"①"},
        {"line ends", "a\r\nb\nc\r", u"a\rb\rc\r"},
        // Damage: U+FFFD, and the byte after it is decoded on its own.
        {"lead then ASCII",
         "\xA4"
         "a",
         u"\uFFFDa"},
        {"lead then CR LF", "ok\xB0\r\n", u"ok\uFFFD\r"},
        {"0x8E then LF", "\x8E\n", u"\uFFFD\r"},
        {"0x8E then a JIS lead", "\x8E\xE0\xA1", u"\uFFFD\u71F9"},
        {"JIS X 0212", "\x8F\xB0\xA1x", u"\uFFFDx"},
        {"0x8F then ASCII",
         "\x8F"
         "ab",
         u"\uFFFDab"},
        {"0x8F then one JIS byte", "\x8F\xB0x", u"\uFFFDx"},
        {"0x8F 0xA1 before a line end", "\x8F\xA1\r\n", u"\uFFFD\r"},
        {"byte below 0xA1", "\xA0\xA1\xA1", u"\uFFFD\u3000"},
        {"0xFF",
         "\xFF"
         "a",
         u"\uFFFDa"},
        {"user-defined row", "\xF5\xA1", u"\uFFFD"},
        // A character the writer has not finished waits.
        {"cut-off pair", "ab\xA4", u"ab", 2},
        {"cut-off katakana", "\x8E", u"", 0},
        {"cut-off JIS X 0212", "a\x8F\xB0", u"a", 1},
    };
    return rows;
}

inline const std::vector<Row> &utf8()
{
    static const std::vector<Row> rows {
        {"japanese line, CR LF", "\xE3\x83\xAD\xE3\x82\xB0 ok\r\n", u"ログ ok\r"},
        {"two bytes and four", "caf\xC3\xA9 \xF0\x9F\x98\x80\n", u"café 😀\r"},
        // Damage: the maximal subpart is one U+FFFD; the byte that breaks it is read afresh.
        {"lead then ASCII",
         "\xE3\x81"
         "A",
         u"\uFFFDA"},
        {"lead then CR LF", "x\xE3\r\ny", u"x\uFFFD\ry"},
        {"overlong two bytes", "\xC0\xAF\xC1\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"overlong three bytes", "\xE3\x81\x82\xE0\x80\xAF", u"あ\uFFFD\uFFFD\uFFFD"},
        {"overlong four bytes", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"surrogates", "\xE3\x81\x82\xED\xA0\x80\xED\xBF\xBF",
         u"あ\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80\xF5\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"cut four-byte character, then a new lead", "\xF0\x9F\x98\xE3\x81\x82", u"\uFFFD\u3042"},
        // A character the writer has not finished waits; one that cannot be finished does not.
        {"cut three-byte character", "ab\xE3\x81", u"ab", 2},
        {"cut four-byte character", "\xF0\x9F\x98", u"", 0},
        {"cut lead alone", "\xC3", u"", 0},
        {"cut byte order mark", "\xEF\xBB", u"", 0},
        {"cut surrogate is damage already", "\xED\xA0", u"\uFFFD\uFFFD"},
    };
    return rows;
}

inline void addColumns()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("consumed");
}

inline void addRows(const std::vector<Row> &rows)
{
    for (const Row &row : rows) {
        QTest::newRow(row.name) << row.bytes
                                << QString::fromUtf16(row.text.data(), qsizetype(row.text.size()))
                                << (row.consumed < 0 ? row.bytes.size() : row.consumed);
    }
}

// Checks the current row; decoding everything also shows what was cut off, as damage.
inline void check(const TextDecoder &decoder)
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(qsizetype, consumed);
    const DecodedText kept = decoder.decode(bytes, TextDecoder::Tail::KeepIncomplete);
    QCOMPARE(kept.text, text);
    QCOMPARE(kept.consumed, consumed);
    const DecodedText all = decoder.decode(bytes, TextDecoder::Tail::DecodeAll);
    QCOMPARE(all.consumed, bytes.size());
    QVERIFY(all.text.startsWith(text));
    QCOMPARE(all.text == text, consumed == bytes.size());
}

} // namespace DecoderRows
