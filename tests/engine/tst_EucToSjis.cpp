#include "engine/EucToSjis.h"

#include <QTest>

using Module1::convertEucToSjis;

class TestEucToSjis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void converts_data()
    {
        QTest::addColumn<QByteArray>("euc");
        QTest::addColumn<QByteArray>("sjis");
        QTest::addColumn<qsizetype>("consumed");

        QTest::newRow("hiragana a")
            << QByteArray("\xA4\xA2") << QByteArray("\x82\xA0") << qsizetype(2);
        QTest::newRow("first kanji")
            << QByteArray("\xB0\xA1") << QByteArray("\x88\x9F") << qsizetype(2);
        QTest::newRow("row above 0x5E")
            << QByteArray("\xF4\xA6") << QByteArray("\xEA\xA4") << qsizetype(2);
        QTest::newRow("half-width katakana")
            << QByteArray("\x8E\xB1") << QByteArray("\xB1") << qsizetype(2);
        QTest::newRow("ascii with CR LF")
            << QByteArray("A\r\n") << QByteArray("A\r\n") << qsizetype(3);
        // Odd row whose cell lands on 0x7F in Shift_JIS: 0x7F is skipped.
        QTest::newRow("skips 0x7F")
            << QByteArray("\xA1\xE0") << QByteArray("\x81\x80") << qsizetype(2);
        // JIS X 0212's three-byte form is not recognised: 0x8F pairs with the next byte.
        QTest::newRow("0x8F is a lead byte")
            << QByteArray("\x8F\xA2\xAF") << QByteArray("\x78\x41") << qsizetype(2);
        // Katakana pairs shrink the output and leave no filler behind.
        QTest::newRow("katakana run")
            << QByteArray("\x8E\xB1\x8E\xB2x") << QByteArray("\xB1\xB2x") << qsizetype(5);
        // A writer caught between the two bytes of a character: the first byte waits.
        QTest::newRow("cut-off character")
            << QByteArray("ab\xA4") << QByteArray("ab") << qsizetype(2);
        QTest::newRow("cut-off katakana") << QByteArray("\x8E") << QByteArray() << qsizetype(0);
    }
    void converts()
    {
        QFETCH(QByteArray, euc);
        QFETCH(QByteArray, sjis);
        QFETCH(qsizetype, consumed);
        const auto result = convertEucToSjis(euc);
        QVERIFY(result);
        QCOMPARE(result->bytes.toHex(' '), sjis.toHex(' '));
        QCOMPARE(result->consumed, consumed);
    }

    void leadFollowedByAsciiFails_data()
    {
        QTest::addColumn<QByteArray>("euc");
        QTest::newRow("lone lead then a") << QByteArray("\xA4"
                                                        "a");
        QTest::newRow("lead then CR") << QByteArray("ok\xB0\r\n");
        QTest::newRow("0x8F then ascii") << QByteArray("\x8F"
                                                       "A");
    }
    void leadFollowedByAsciiFails()
    {
        QFETCH(QByteArray, euc);
        QVERIFY(!convertEucToSjis(euc));
    }

    // Every valid JIS X 0208 row/cell must land in the Shift_JIS ranges.
    void everyValidPairMapsIntoShiftJisRanges()
    {
        for (int row = 0x21; row <= 0x7E; ++row) {
            for (int cell = 0x21; cell <= 0x7E; ++cell) {
                const char euc[2] = {char(row + 0x80), char(cell + 0x80)};
                const auto out = convertEucToSjis(QByteArray(euc, 2));
                QVERIFY(out && out->bytes.size() == 2);
                const auto lead = quint8(out->bytes[0]);
                const auto trail = quint8(out->bytes[1]);
                QVERIFY((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF));
                QVERIFY(trail >= 0x40 && trail <= 0xFC && trail != 0x7F);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestEucToSjis)
#include "tst_EucToSjis.moc"
