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
        DecoderRows::addRows(DecoderRows::eucJp());
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
