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
        DecoderRows::addRows(DecoderRows::utf8());
    }
    void decodes() { DecoderRows::check(m_decoder); }
};

QTEST_APPLESS_MAIN(TestUtf8Decoder)
#include "tst_Utf8Decoder.moc"
