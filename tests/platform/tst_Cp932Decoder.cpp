#include "engine/EucJpDecoder.h"
#include "platform/Cp932Decoder.h"
#include "platform/Utf8Decoder.h"

#include "Iconv.h"

#include <QRandomGenerator>
#include <QTest>

using Tail = ShiftJisDecoder::Tail;

namespace {

QString decodeAll(const QByteArray &bytes)
{
    return Cp932Decoder().decode(bytes, Tail::DecodeAll).text;
}

} // namespace

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

    void matchesWindowsOnSingleBytesAndKeyPairs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("unit");
        QTest::newRow("backslash") << QByteArray("\x5C") << 0x5C;
        QTest::newRow("tilde") << QByteArray("\x7E") << 0x7E;
        QTest::newRow("wave dash") << QByteArray("\x81\x60") << 0xFF5E;
        QTest::newRow("circled one") << QByteArray("\x87\x40") << 0x2460;
        QTest::newRow("NEC-selected IBM") << QByteArray("\xED\x40") << 0x7E8A;
        QTest::newRow("IBM small roman") << QByteArray("\xFA\x40") << 0x2170;
        QTest::newRow("user-defined") << QByteArray("\xF0\x40") << 0xE000;
        QTest::newRow("half-width stop") << QByteArray("\xA1") << 0xFF61;
        QTest::newRow("0x80") << QByteArray("\x80") << 0x80;
        QTest::newRow("0xA0") << QByteArray("\xA0") << 0xF8F0;
        QTest::newRow("0xFD") << QByteArray("\xFD") << 0xF8F1;
        QTest::newRow("0xFF") << QByteArray("\xFF") << 0xF8F3;
        QTest::newRow("NUL") << QByteArray(1, '\0') << 0;
    }
    void matchesWindowsOnSingleBytesAndKeyPairs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, unit);
        const QString text = decodeAll(bytes);
        QCOMPARE(text.size(), 1);
        QCOMPARE(int(text.at(0).unicode()), unit);
    }

    void foldsLineEndsAndRecoversFromBrokenPairs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\rb\r");
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringLiteral("a\rb\r");
        QTest::newRow("CR") << QByteArray("a\rb\r") << QStringLiteral("a\rb\r");
        QTest::newRow("CR CR LF") << QByteArray("\r\r\n") << QStringLiteral("\r\r");
        QTest::newRow("LF CR") << QByteArray("\n\r") << QStringLiteral("\r\r");
        // A broken character never swallows the line end after it.
        QTest::newRow("lead then CR LF")
            << QByteArray("x\x82\r\ny") << QString::fromUtf16(u"x\uFFFD\ry");
        QTest::newRow("lead then 0x7F")
            << QByteArray("\x82\x7F") << QString::fromUtf16(u"\uFFFD\x7F");
        QTest::newRow("lead then 0xFD")
            << QByteArray("\x82\xFD") << QString::fromUtf16(u"\uFFFD\uF8F1");
        QTest::newRow("unmapped pair, ASCII trail")
            << QByteArray("\x85\x41z\xEB\x40") << QString::fromUtf16(u"\uFFFDAz\uFFFD@");
        QTest::newRow("unmapped pair, high trail")
            << QByteArray("\x85\x80z") << QString::fromUtf16(u"\uFFFDz");
        // UTF-8 "あERROR" read as Shift_JIS: 0x82 and "E" form no character.
        QTest::newRow("UTF-8 read as Shift_JIS") << QByteArray("\xE3\x81\x82"
                                                               "ERROR\n")
                                                 << QString::fromUtf16(u"縺\uFFFDERROR\r");
        QTest::newRow("japanese line")
            << QByteArray("\x83\x8D\x83\x4F\r\n") << QString::fromUtf8("ログ\r");
    }
    void foldsLineEndsAndRecoversFromBrokenPairs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeAll(bytes), text);
    }

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

    void unfinishedCharacterWaitsForMoreInput()
    {
        const Cp932Decoder decoder;
        const DecodedText kept = decoder.decode("ab\x83", Tail::KeepIncomplete);
        QCOMPARE(kept.text, QStringLiteral("ab"));
        QCOMPARE(kept.consumed, 2);

        // The last byte is a trail byte of a complete pair, not a lead byte.
        const DecodedText whole = decoder.decode("\x83\x83", Tail::KeepIncomplete);
        QCOMPARE(whole.consumed, 2);
        QCOMPARE(whole.text, QString::fromUtf8("ャ"));

        const DecodedText forced = decoder.decode("ab\x83", Tail::DecodeAll);
        QCOMPARE(forced.text, QString::fromUtf16(u"ab\uFFFD"));
        QCOMPARE(forced.consumed, 3);
    }
};

QTEST_APPLESS_MAIN(TestCp932Decoder)
#include "tst_Cp932Decoder.moc"
