#include "platform/Utf8Decoder.h"

#include "DecoderRows.h"

#include <QTest>

#include <iconv.h>

using Tail = TextDecoder::Tail;
using namespace Qt::StringLiterals;

class TestUtf8Decoder : public QObject
{
    Q_OBJECT

private:
    Utf8Decoder m_decoder;

private Q_SLOTS:
    // Every scalar value, encoded and decoded by glibc's iconv, an implementation independent
    // of ours, reads the same through our decoder: all lengths, all lead bytes, every
    // boundary, each character beyond U+FFFF as its surrogate pair.
    void everyCharacterMatchesIconv()
    {
        std::vector<char32_t> all;
        for (char32_t c = 1; c <= 0x10FFFF; ++c) {
            if (c < 0xD800 || c > 0xDFFF)
                all.push_back(c);
        }
        const auto convert = [](const char *to, const char *from, QByteArray in) {
            const iconv_t cd = iconv_open(to, from);
            QByteArray out(in.size() * 2 + 16, Qt::Uninitialized);
            char *inPtr = in.data();
            char *outPtr = out.data();
            size_t inLeft = size_t(in.size());
            size_t outLeft = size_t(out.size());
            const bool ok = cd != iconv_t(-1)
                && iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0;
            if (cd != iconv_t(-1))
                iconv_close(cd);
            out.truncate(ok ? out.size() - qsizetype(outLeft) : 0);
            return out;
        };
        const QByteArray utf32(reinterpret_cast<const char *>(all.data()),
                               qsizetype(all.size() * sizeof(char32_t)));
        const QByteArray utf8 = convert("UTF-8", "UTF-32LE", utf32);
        const QByteArray utf16 = convert("UTF-16LE", "UTF-8", utf8);
        if (utf8.isEmpty() || utf16.isEmpty())
            QSKIP("iconv cannot convert between UTF-8, UTF-16 and UTF-32 here");
        // Line ends are folded, so CR and LF leave the comparison.
        QString expected = QString::fromUtf16(reinterpret_cast<const char16_t *>(utf16.constData()),
                                              utf16.size() / 2);
        expected.replace(u'\n', u'\r');
        const DecodedText got = m_decoder.decode(utf8, Tail::KeepIncomplete);
        QCOMPARE(got.consumed, utf8.size());
        QCOMPARE(got.text.size(), expected.size());
        QVERIFY(got.text == expected);
    }

    void decodes_data()
    {
        DecoderRows::addColumns();
        const auto row = [](auto &&...args) { DecoderRows::add(args...); };
        row("japanese line, CR LF", "\xE3\x83\xAD\xE3\x82\xB0 ok\r\n", u"ログ ok\r");
        row("line ends", "a\r\nb\nc\r\r\n", u"a\rb\rc\r\r");
        row("four bytes: surrogate pair", "\xF0\x9F\x98\x80!", u"\U0001F600!");
        row("largest scalar", "\xF4\x8F\xBF\xBF", u"\U0010FFFF");
        row("byte order mark inside the text", "a\xEF\xBB\xBF", u"a\uFEFF");
        // Damage: the maximal subpart is one U+FFFD; the byte that breaks it is read afresh.
        row("lead then ASCII",
            "\xE3\x81"
            "A",
            u"\uFFFDA");
        row("lead then CR LF", "x\xE3\r\ny", u"x\uFFFD\ry");
        row("stray continuation",
            "\x80\xBF"
            "a",
            u"\uFFFD\uFFFDa");
        row("overlong two bytes", "\xC0\xAF\xC1\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD");
        row("overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD");
        row("overlong four bytes", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD");
        row("surrogate", "\xED\xA0\x80\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
        row("past U+10FFFF", "\xF4\x90\x80\x80\xF5\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
        row("cut four-byte character, then a new lead", "\xF0\x9F\x98\xE3\x81\x82",
            u"\uFFFD\u3042");
        row("Shift_JIS read as UTF-8",
            "\x82\xA0"
            "ERROR\n",
            u"\uFFFD\uFFFDERROR\r");
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
