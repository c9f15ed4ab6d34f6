#include "engine/EucJpDecoder.h"
#include "platform/Cp932Decoder.h"
#include "platform/Utf8Decoder.h"

#include "DecoderRows.h"
#include "Iconv.h"

#include <QRandomGenerator>
#include <QTest>

using Tail = ShiftJisDecoder::Tail;

class TestCp932Decoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every pair of code page 932 against iconv, and every character it has (JIS X 0208, the
    // NEC and IBM extensions) encoded by iconv in EUC-JP and UTF-8 reads the same through our
    // decoders of those. EUC-JP here is EUC-JP-MS, EUC-JP with the NEC row in two bytes; its
    // three-byte forms (JIS X 0212, where it puts the IBM extensions) read as U+FFFD, which
    // code page 932 cannot tell apart.
    void everyCharacterMatchesIconvInEachCharacterSet()
    {
        Iconv toUnicode("UTF-16LE", "CP932");
        Iconv toEuc("EUC-JP-MS", "UTF-16LE");
        Iconv toUtf8("UTF-8", "UTF-16LE");
        if (!toUnicode.isOpen() || !toEuc.isOpen() || !toUtf8.isOpen())
            QSKIP("iconv has no CP932 or EUC-JP-MS here");
        const Cp932Decoder decoder;
        const EucJpDecoder euc(decoder);
        const Utf8Decoder utf8;
        int mapped = 0, eucPairs = 0, eucTriples = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932Decoder::isLeadByte(quint8(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char bytes[2] = {char(lead), char(trail)};
                const QByteArray unicode = toUnicode.convert(QByteArrayView(bytes, 2));
                const char16_t expected = unicode.size() == 2
                    ? char16_t(quint8(unicode[0]) | quint8(unicode[1]) << 8)
                    : char16_t(0);
                const DecodedText got = decoder.decode(QByteArrayView(bytes, 2), Tail::DecodeAll);
                QCOMPARE(got.consumed, 2);
                QCOMPARE(decoder.pair(quint8(lead), quint8(trail)),
                         expected ? expected : char16_t(0xFFFD));
                if (expected == 0) {
                    // An ASCII byte is never swallowed by a lead byte it forms no pair with.
                    QCOMPARE(got.text,
                             trail < 0x80 ? QString(QChar(0xFFFD)) + QChar(trail)
                                          : QString(QChar(0xFFFD)));
                    continue;
                }
                const QString character {QChar(expected)};
                QVERIFY2(got.text == character, QByteArray(bytes, 2).toHex().constData());
                ++mapped;

                const QByteArray asUtf8 = toUtf8.convert(unicode);
                QVERIFY2(utf8.decode(asUtf8, Tail::DecodeAll).text == character,
                         asUtf8.toHex().constData());
                // The user-defined area has no agreed place in EUC-JP.
                const QByteArray asEuc = toEuc.convert(unicode);
                if (expected >= 0xE000 && expected <= 0xF8FF)
                    continue;
                const QString eucText = euc.decode(asEuc, Tail::DecodeAll).text;
                if (asEuc.size() == 2) {
                    QVERIFY2(eucText == character, asEuc.toHex().constData());
                    ++eucPairs;
                } else {
                    QCOMPARE(asEuc.size(), 3);
                    QCOMPARE(eucText, QString(QChar(0xFFFD)));
                    ++eucTriples;
                }
            }
        }
        // The tables must really be there: code page 932 has well over 9,000 pairs, JIS X 0208
        // alone 6,879 characters, and the IBM extensions 388 (360 of them kanji).
        QVERIFY(mapped > 9000);
        QVERIFY(eucPairs > 6879);
        QVERIFY(eucTriples >= 360);
    }

    // Single bytes and key pairs as Windows has them, line ends, broken pairs, cut-off pairs.
    void decodes_data()
    {
        DecoderRows::addColumns();
        DecoderRows::addRows(DecoderRows::shiftJis());
    }
    void decodes() { DecoderRows::check(Cp932Decoder()); }

    // Long mixed runs cross the eight-byte ASCII path at every alignment.
    void longMixedTextDecodesTokenByToken()
    {
        const struct
        {
            QByteArray bytes;
            QString text;
        } tokens[] = {
            {"a", QStringLiteral("a")},       {"Z9 ", QStringLiteral("Z9 ")},
            {"\r\n", QStringLiteral("\r")},   {"\n", QStringLiteral("\r")},
            {"\t", QStringLiteral("\t")},     {QByteArray(1, '\0'), QString(QChar(0))},
            {"\x7F", QStringLiteral("\x7F")}, {"\x83\x8D", QString::fromUtf8("ロ")},
            {"\xB1", QString::fromUtf8("ｱ")}, {"\x88\x9F", QString::fromUtf8("亜")},
        };
        QRandomGenerator random(7);
        const Cp932Decoder decoder;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes;
            QString expected;
            const int length = int(random.bounded(1, 400));
            for (int k = 0; k < length; ++k) {
                const auto &token = tokens[random.bounded(int(std::size(tokens)))];
                bytes += token.bytes;
                expected += token.text;
            }
            QCOMPARE(decoder.decode(bytes, Tail::KeepIncomplete).text, expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestCp932Decoder)
#include "tst_Cp932Decoder.moc"
