#include "platform/Utf8Decoder.h"

#include "DecoderRows.h"
#include "Iconv.h"

#include <QTest>

class TestUtf8Decoder : public QObject
{
    Q_OBJECT

private:
    Utf8Decoder m_decoder;

private Q_SLOTS:
    // Every scalar value, encoded and decoded by iconv, reads the same through our decoder:
    // all lengths, all lead bytes, every boundary, beyond U+FFFF as surrogate pairs.
    void everyCharacterMatchesIconv()
    {
        QByteArray utf32;
        for (char32_t c = 1; c <= 0x10FFFF; ++c) {
            if (c < 0xD800 || c > 0xDFFF)
                utf32.append(reinterpret_cast<const char *>(&c), sizeof(c));
        }
        const QByteArray utf8 = Iconv("UTF-8", "UTF-32LE").convert(utf32);
        const QByteArray utf16 = Iconv("UTF-16LE", "UTF-8").convert(utf8);
        if (utf8.isEmpty() || utf16.isEmpty())
            QSKIP("iconv cannot convert between UTF-8, UTF-16 and UTF-32 here");
        // Line ends are folded: LF reads as CR.
        const QString expected = QString::fromUtf16(
            reinterpret_cast<const char16_t *>(utf16.constData()), utf16.size() / 2);
        const DecodedText got = m_decoder.decode(utf8, TextDecoder::Tail::KeepIncomplete);
        QCOMPARE(got.consumed, utf8.size());
        QVERIFY(got.text == QString(expected).replace(u'\n', u'\r'));
    }

    void decodes_data()
    {
        DecoderRows::addColumns();
        const auto row = [](auto &&...args) { DecoderRows::add(args...); };
        row("japanese line, CR LF", "\xE3\x83\xAD\xE3\x82\xB0 ok\r\n", u"ログ ok\r");
        // Damage: the maximal subpart is one U+FFFD; the byte that breaks it is read afresh.
        row("lead then ASCII",
            "\xE3\x81"
            "A",
            u"\uFFFDA");
        row("lead then CR LF", "x\xE3\r\ny", u"x\uFFFD\ry");
        row("overlong two bytes", "\xC0\xAF\xC1\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD");
        row("overlong three bytes", "\xE3\x81\x82\xE0\x80\xAF", u"あ\uFFFD\uFFFD\uFFFD");
        row("overlong four bytes", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD");
        row("surrogates", "\xE3\x81\x82\xED\xA0\x80\xED\xBF\xBF",
            u"あ\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
        row("past U+10FFFF", "\xF4\x90\x80\x80\xF5\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
        row("cut four-byte character, then a new lead", "\xF0\x9F\x98\xE3\x81\x82",
            u"\uFFFD\u3042");
        // A character the writer has not finished waits; one that cannot be finished does not.
        row("cut three-byte character", "ab\xE3\x81", u"ab", 2);
        row("cut four-byte character", "\xF0\x9F\x98", u"", 0);
        row("cut lead alone", "\xC3", u"", 0);
        row("cut byte order mark", "\xEF\xBB", u"", 0);
        row("cut surrogate is damage already", "\xED\xA0", u"\uFFFD\uFFFD");
    }
    void decodes() { DecoderRows::check(m_decoder); }
};

QTEST_APPLESS_MAIN(TestUtf8Decoder)
#include "tst_Utf8Decoder.moc"
