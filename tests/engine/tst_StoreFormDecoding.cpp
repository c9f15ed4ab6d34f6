#include "DecoderRows.h"
#include "FakeClock.h"

#include "engine/CharacterSets.h"
#include "engine/EucJpDecoder.h"
#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"
#include "platform/Utf8Decoder.h"
#include "view/store/UnitCoding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Tail = TextDecoder::Tail;

namespace {

struct JoiningSink : TextSink
{
    void show(int, QByteArrayView piece, bool) override { bytes += piece; }
    QByteArray bytes;
};

} // namespace

// The reader hands on the store's bytes made in the decoding pass. They must be exactly what
// the way before made of the same bytes: the decoded text, CR turned into CR LF, encoded for
// the store.
class TestStoreFormDecoding : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    LocalFileAccess m_files;
    Cp932Decoder m_sjis;
    EucJpDecoder m_euc {m_sjis};
    Utf8Decoder m_utf8;

    const TextDecoder &decoderFor(qint32 characterSet) const
    {
        if (characterSet == CharacterSets::kEucJp)
            return m_euc;
        if (characterSet == CharacterSets::kUtf8)
            return m_utf8;
        return m_sjis;
    }

    // The whole file read in looks of chunks of a few bytes (their edges falling inside
    // characters, CR LF pairs and unfinished lines), the last line shown after its wait.
    QByteArray readInSmallChunks(const QByteArray &bytes, qint32 characterSet,
                                 std::optional<qint32> &decided)
    {
        const QString path = m_dir.filePath(u"log"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            return "(not written)";
        file.close();
        FakeClock clock;
        WatchedFileTable table;
        IncrementalReader reader(m_files, m_sjis, table, clock, {8, 4, 1000});
        table.append(path, 0);
        table.setFilePointer(0, 1);
        JoiningSink sink;
        for (int wait : {0, 1000}) {
            clock.now += wait;
            Look look;
            while (reader.readNext(0, characterSet, look, sink) == ReadStep::More) { }
        }
        decided = table.followState(0)->detected;
        return sink.bytes;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Every edge case of the three decoders, in its own character set and in the automatic
    // setting.
    void agreesWithTheSeparatePath_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArray>("bytes");
        const struct
        {
            const char *name;
            qint32 set;
            const std::vector<DecoderRows::Row> &rows;
        } sets[] = {{"Shift_JIS", CharacterSets::kShiftJis, DecoderRows::shiftJis()},
                    {"EUC-JP", CharacterSets::kEucJp, DecoderRows::eucJp()},
                    {"UTF-8", CharacterSets::kUtf8, DecoderRows::utf8()}};
        for (const auto &set : sets) {
            for (const DecoderRows::Row &row : set.rows) {
                for (const qint32 characterSet : {set.set, CharacterSets::kAutomatic}) {
                    const char *how = characterSet == CharacterSets::kAutomatic ? "automatic" : "";
                    QTest::addRow("%s %s: %s", set.name, how, row.name)
                        << characterSet << row.bytes;
                }
            }
        }
    }
    void agreesWithTheSeparatePath()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArray, bytes);
        if (characterSet != CharacterSets::kAutomatic) {
            for (const Tail tail : {Tail::KeepIncomplete, Tail::DecodeAll}) {
                const DecodedText text = decoderFor(characterSet).decode(bytes, tail);
                QByteArray storeBytes = "before ";
                QCOMPARE(decoderFor(characterSet).decodeForStore(bytes, tail, storeBytes),
                         text.consumed);
                QCOMPARE(storeBytes, "before " + UnitCoding::encoded(text.text));
            }
        }
        // Through the reader, the chunk edges moved across the row; a line end behind it lets
        // the automatic setting decide.
        for (int shift = 0; shift < 8; ++shift) {
            QByteArray log = QByteArray(shift, 'x') + bytes + '\n';
            std::optional<qint32> decided;
            const QByteArray shown = readInSmallChunks(log, characterSet, decided);
            const qint32 readAs = decided.value_or(characterSet);
            if (readAs == CharacterSets::kUtf8 && log.startsWith("\xEF\xBB\xBF"))
                log.remove(0, 3);
            const QString text = decoderFor(readAs).decode(log, Tail::DecodeAll).text;
            QVERIFY2(shown == UnitCoding::encoded(text), qPrintable(u"shift %1"_s.arg(shift)));
        }
    }
};

QTEST_APPLESS_MAIN(TestStoreFormDecoding)
#include "tst_StoreFormDecoding.moc"
