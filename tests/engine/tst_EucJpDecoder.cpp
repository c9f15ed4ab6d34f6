#include "engine/EucJpDecoder.h"
#include "engine/EucToSjis.h"
#include "platform/Cp932Decoder.h"

#include "DecoderRows.h"

#include <QTest>

using Tail = TextDecoder::Tail;

class TestEucJpDecoder : public QObject
{
    Q_OBJECT

private:
    Cp932Decoder m_sjis;
    EucJpDecoder m_euc {m_sjis};

private Q_SLOTS:
    void decodes_data()
    {
        DecoderRows::addColumns();
        const auto row = [](auto &&...args) { DecoderRows::add(args...); };
        row("hiragana, kanji, katakana", "\xA4\xA2\xB0\xA1\x8E\xB1", u"あ亜ｱ");
        row("NEC row 13", "\xAD\xA1", u"①");
        row("line ends", "a\r\nb\nc\r", u"a\rb\rc\r");
        // Damage: U+FFFD, and the byte after it is decoded on its own.
        row("lead then ASCII",
            "\xA4"
            "a",
            u"\uFFFDa");
        row("lead then CR LF", "ok\xB0\r\n", u"ok\uFFFD\r");
        row("0x8E then LF", "\x8E\n", u"\uFFFD\r");
        row("0x8E then a JIS lead", "\x8E\xE0\xA1", u"\uFFFD\u71F9");
        row("JIS X 0212", "\x8F\xB0\xA1x", u"\uFFFDx");
        row("0x8F then ASCII",
            "\x8F"
            "ab",
            u"\uFFFDab");
        row("0x8F then one JIS byte", "\x8F\xB0x", u"\uFFFDx");
        row("0x8F 0xA1 before a line end", "\x8F\xA1\r\n", u"\uFFFD\r");
        row("byte below 0xA1", "\xA0\xA1\xA1", u"\uFFFD\u3000");
        row("0xFF",
            "\xFF"
            "a",
            u"\uFFFDa");
        row("user-defined row", "\xF5\xA1", u"\uFFFD");
        // A character the writer has not finished waits.
        row("cut-off pair", "ab\xA4", u"ab", 2);
        row("cut-off katakana", "\x8E", u"", 0);
        row("cut-off JIS X 0212", "a\x8F\xB0", u"a", 1);
    }
    void decodes() { DecoderRows::check(m_euc); }

    // Every JIS X 0208 pair reads as its Shift_JIS conversion does.
    void everyPairMatchesTheConversion()
    {
        for (int row = 0xA1; row <= 0xFE; ++row) {
            for (int cell = 0xA1; cell <= 0xFE; ++cell) {
                const QByteArray euc {char(row), char(cell)};
                const QString direct = m_euc.decode(euc, Tail::DecodeAll).text;
                const auto sjis = Module1::convertEucToSjis(euc);
                QVERIFY(sjis);
                QCOMPARE(direct, m_sjis.decode(sjis->bytes, Tail::DecodeAll).text);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestEucJpDecoder)
#include "tst_EucJpDecoder.moc"
