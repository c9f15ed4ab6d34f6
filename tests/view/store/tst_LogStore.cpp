#include "GateCodec.h"

#include "platform/CacheSpillFile.h"
#include "view/store/LogStore.h"
#include "view/store/StoreSearch.h"
#include "view/store/UnitCoding.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// What the store must hold after appending pieces: every line end as CR LF.
QString normalized(const QStringList &pieces)
{
    QString all;
    for (QString piece : pieces) {
        piece.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\r\n"_s);
        all += piece;
    }
    return all;
}

// Flips one byte of every frame after it is made: stands for memory or a file gone bad.
class DamagingCodec : public BlockCodec
{
public:
    void compress(QByteArrayView plain, QByteArray &frame) const override
    {
        BlockCodec::compress(plain, frame);
        frame[frame.size() / 2] = char(frame.at(frame.size() / 2) ^ 0x20);
    }
};

// A spill file in memory that refuses writes, or loses or changes what it reads back, when
// told to.
class ScriptedSpillFile : public SpillFile
{
public:
    enum class Reads { Right, Fail, Changed };
    bool refuseWrites = false;
    Reads reads = Reads::Right;

    std::optional<qint64> append(QByteArrayView bytes) override
    {
        if (refuseWrites)
            return std::nullopt;
        m_bytes += bytes;
        return m_bytes.size() - bytes.size();
    }
    bool read(qint64 offset, QByteArray &buffer) const override
    {
        if (reads == Reads::Fail || offset + buffer.size() > m_bytes.size())
            return false;
        buffer = m_bytes.sliced(offset, buffer.size());
        if (reads == Reads::Changed)
            buffer[buffer.size() / 2] = char(buffer.at(buffer.size() / 2) ^ 0x20);
        return true;
    }
    void clear() override { m_bytes.clear(); }
    qint64 size() const override { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

// Checks every call of the store against the text it should hold.
void compareWhole(const LogStore &store, const QString &expected)
{
    QCOMPARE(store.size(), expected.size());
    QCOMPARE(store.read(StoreOffset(0), expected.size() + 5).text, expected);
    QCOMPARE(store.lineCount(), expected.count(u'\n') + 1);
    qint64 line = 0;
    QCOMPARE(store.lineStart(LineNo(0)), StoreOffset(0));
    for (qsizetype at = 0; at <= expected.size(); ++at) {
        QCOMPARE(store.lineOf(StoreOffset(at)), LineNo(line));
        if (at < expected.size() && expected.at(at) == u'\n') {
            ++line;
            QCOMPARE(store.lineStart(LineNo(line)), StoreOffset(at + 1));
        }
        for (qsizetype length : {1, 2, 5, 17}) {
            const ReadResult part = store.read(StoreOffset(at), length);
            QCOMPARE(part.text, expected.mid(at, length));
            QCOMPARE(part.status, ReadStatus::Intact);
        }
    }
    QCOMPARE(store.lineStart(LineNo(line + 1)), StoreOffset(expected.size()));
}

} // namespace

class TestLogStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Block edges at every kind of place: inside a CR LF, beside a three-byte character,
    // within a line that spans several blocks; line ends in all three forms.
    void readsBackWhatWasAppended_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("CR LF split by the edge") << 16 << QStringList {u"0123456789abcde\r\nX"_s};
        QTest::newRow("CR LF ends a block") << 16 << QStringList {u"0123456789abcd\r\nX\r\n"_s};
        QTest::newRow("Japanese at the edge")
            << 16 << QStringList {u"0123456789abcあい\r\n"_s, u"ログ\r\n"_s};
        QTest::newRow("line over many blocks")
            << 16 << QStringList {QString(100, u'x'), u"y\r\nz"_s, QString(40, u'ー')};
        QTest::newRow("lone CR and LF") << 16 << QStringList {u"a\rb\nc\r\n\r\rd\n"_s};
        QTest::newRow("CR then LF in two appends") << 16 << QStringList {u"a\r"_s, u"\nb"_s};
        // A pair split between two appends, and a lone one.
        QTest::newRow("surrogates and NUL")
            << 16
            << QStringList {u"😀\u0000x"_s + QChar(0xD800),
                            QChar(0xDC00) + (QChar(0xDBFF) + u"\r\n"_s)};
        QTest::newRow("empty appends") << 16 << QStringList {QString(), u"a"_s, QString()};
        QTest::newRow("default blocks")
            << int(LogStore::kDefaultBlockBytes) << QStringList {u"one\r\ntwo"_s, u" three\r\n"_s};
        // Longer than the counts of the bytes' units and LFs are kept in narrow lanes.
        QTest::newRow("long piece") << int(LogStore::kDefaultBlockBytes)
                                    << QStringList {u"ログ行 line\r\n"_s.repeated(700)};
    }
    void readsBackWhatWasAppended()
    {
        QFETCH(int, blockBytes);
        QFETCH(QStringList, pieces);
        QTemporaryDir cache;
        for (const bool spilled : {false, true}) {
            // The store's own bytes (as the reader decodes them) are cut into blocks alike.
            for (const bool encoded : {false, true}) {
                LogStore store(
                    blockBytes, nullptr,
                    spilled ? std::make_unique<CacheSpillFile>(QFile::encodeName(cache.path()))
                            : nullptr);
                for (const QString &piece : std::as_const(pieces)) {
                    if (encoded)
                        store.appendEncoded(UnitCoding::encoded(piece), 0);
                    else
                        store.append(piece);
                }
                compareWhole(store, normalized(pieces));
                QCOMPARE(store.spilledBytes() > 0, spilled && store.blockCount() > 1);
            }
        }
    }

    // Frames the spill file does not take stay in memory and read as ever; once it takes
    // frames again, those kept move out too. The real file, when its folder cannot be made,
    // takes none.
    // Each line keeps the origin of the text that began it, whatever the blocks, the spill
    // file and the chunks of runs do; checked against a plain list of one origin per line.
    void originsFollowTheTextThatBeganEachLine()
    {
        QTemporaryDir cache;
        LogStore store(16, nullptr,
                       std::make_unique<CacheSpillFile>(QFile::encodeName(cache.path())));
        QList<quint16> expected {0};
        bool atLineStart = true;
        QRandomGenerator random(7);
        const QStringList pieces {u"a\r\n"_s, u"bc"_s,       u"\r\nd\r\ne"_s,  u"ログ\r"_s,
                                  u"\n"_s,    u"f\ng\r\n"_s, QString(40, u'x')};
        for (int i = 0; i < 30000; ++i) {
            const QString piece = pieces.at(random.bounded(pieces.size()));
            const auto origin = quint16(random.bounded(1, 12));
            if (atLineStart)
                expected.last() = origin;
            for (qsizetype at = 0; at < piece.size(); ++at) {
                const bool pairedLf = piece.at(at) == u'\n' && at > 0 && piece.at(at - 1) == u'\r';
                if ((piece.at(at) == u'\r' || piece.at(at) == u'\n') && !pairedLf)
                    expected.append(origin);
            }
            atLineStart = piece.endsWith(u'\r') || piece.endsWith(u'\n');
            store.append(piece, origin);
        }
        QCOMPARE(store.lineCount(), expected.size());
        QVERIFY(store.spilledBytes() > 0);
        QVERIFY(store.origins().runCount() > OriginRuns::kRunsPerChunk);
        for (qsizetype line = 0; line < expected.size(); ++line)
            QCOMPARE(store.originOf(LineNo(line)), expected.at(line));
        // The runs a copy walks give the same answer line by line.
        qsizetype line = 100;
        quint16 current = 0;
        store.origins().forEachRun(LineNo(100), LineNo(5000), [&](LineNo start, quint16 origin) {
            for (; line < start.value; ++line)
                QCOMPARE(current, expected.at(line));
            current = origin;
        });
        QCOMPARE(current, expected.at(line));

        store.clear();
        store.append(u"new\r\n"_s);
        QCOMPARE(store.originOf(LineNo(0)), quint16(0));
        QCOMPARE(store.origins().runCount(), 0);
    }

    void refusedFramesStayInMemory_data()
    {
        QTest::addColumn<int>("refusedLines"); // then the file takes frames again
        QTest::addColumn<bool>("noFolder");
        QTest::newRow("refused for good") << 40 << false;
        QTest::newRow("refused, then taken") << 10 << false;
        QTest::newRow("cache folder cannot be made") << 0 << true;
    }
    void refusedFramesStayInMemory()
    {
        QFETCH(int, refusedLines);
        QFETCH(bool, noFolder);
        QTemporaryDir cache;
        QFile blocker(cache.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        auto scripted = std::make_unique<ScriptedSpillFile>();
        ScriptedSpillFile *spill = scripted.get();
        LogStore store(24, nullptr,
                       noFolder ? std::make_unique<CacheSpillFile>(
                           QFile::encodeName(blocker.fileName()) + "/cache")
                                : std::unique_ptr<SpillFile>(std::move(scripted)));
        LogStore reference(24, nullptr, std::make_unique<ScriptedSpillFile>());
        QString expected;
        for (int k = 0; k < 40; ++k) {
            const QString line = u"行 %1 of the log\r\n"_s.arg(k);
            store.waitForSeals(); // the file's answer changes between two appends, not during one
            spill->refuseWrites = k < refusedLines;
            store.append(line);
            reference.append(line);
            expected += line;
        }
        const bool drained = !noFolder && refusedLines < 40;
        QCOMPARE(store.spilledBytes(), drained ? reference.spilledBytes() : 0);
        QCOMPARE(store.heldBytes() == reference.heldBytes(), drained);
        compareWhole(store, expected);
    }

    // While the sealing thread holds the first of several full blocks: reads give the text
    // (from the blocks' plain bytes), clear empties the store, and the store's end waits for
    // that block alone, dropping those behind it.
    void blockBeingSealed_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("read") << u"read"_s;
        QTest::newRow("clear") << u"clear"_s;
        QTest::newRow("end") << u"end"_s;
    }
    void blockBeingSealed()
    {
        QFETCH(QString, then);
        Gate gate;
        auto store = std::make_unique<LogStore>(16, std::make_unique<GateCodec>(gate),
                                                std::make_unique<ScriptedSpillFile>());
        const QString text = u"ログの一行目\r\nsecond\r\n"_s.repeated(4);
        store->append(text);
        gate.waitUntilEntered();
        if (then == u"read"_s) {
            compareWhole(*store, text);
            gate.open();
            store->waitForSeals();
            compareWhole(*store, text);
            QVERIFY(store->spilledBytes() > 0);
            return;
        }
        std::thread opener([&gate] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            gate.open();
        });
        if (then == u"clear"_s) {
            store->clear();
            QCOMPARE(store->spilledBytes(), 0);
            store->append(u"again\r\n"_s);
            compareWhole(*store, u"again\r\n"_s);
        } else {
            store.reset();
        }
        opener.join();
        QCOMPARE(gate.entered(), 1);
    }

    // A log followed for weeks passes 2^31 and 2^32 characters; nothing may wrap. Lines of
    // one repeated letter compress to almost nothing, so this takes little memory.
    void offsetsPastTwoToTheThirtyTwo()
    {
        LogStore store;
        const QString line = QString(1022, u'a') + u"\r\n"_s;
        const QString chunk = line.repeated(1024); // 1 Mi units
        const qint64 chunks = (qint64(1) << 32) / chunk.size() + 1;
        for (qint64 k = 0; k < chunks; ++k)
            store.append(chunk);
        store.append(u"末尾 END"_s);
        const qint64 size = chunks * chunk.size() + 6;
        QCOMPARE(store.size(), size);
        QCOMPARE(store.lineCount(), chunks * 1024 + 1);
        QCOMPARE(store.read(StoreOffset(size - 8), 100).text, u"\r\n末尾 END"_s);
        QCOMPARE(store.lineStart(LineNo(chunks * 1024)), StoreOffset(size - 6));
        QCOMPARE(store.lineOf(StoreOffset(size - 1)), LineNo(chunks * 1024));
        for (const qint64 edge : {qint64(1) << 31, qint64(1) << 32}) {
            QCOMPARE(store.lineOf(StoreOffset(edge)), LineNo(edge / 1024));
            QCOMPARE(store.lineStart(LineNo(edge / 1024)), StoreOffset(edge / 1024 * 1024));
        }
        QCOMPARE(StoreSearch::findForward(store, u"end"_s, StoreOffset(qint64(1) << 31),
                                          Qt::CaseInsensitive),
                 StoreOffset(size - 3));
        QVERIFY(store.heldBytes() < 64 * 1024 * 1024);
    }

    // A damaged block (gone bad in memory, or lost or changed in the spill file) keeps its
    // place: same length, same line breaks, flagged; the blocks around it read as they were,
    // and nothing crashes.
    void damagedBlockReadsAsAMarkedGap_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("frame changed in memory") << -1;
        QTest::newRow("spill file fails to read") << int(ScriptedSpillFile::Reads::Fail);
        QTest::newRow("spill file reads other bytes") << int(ScriptedSpillFile::Reads::Changed);
    }
    void damagedBlockReadsAsAMarkedGap()
    {
        QFETCH(int, fault);
        auto spill = std::make_unique<ScriptedSpillFile>();
        spill->reads = ScriptedSpillFile::Reads(fault);
        LogStore store(32, fault < 0 ? std::make_unique<DamagingCodec>() : nullptr,
                       fault < 0 ? nullptr : std::move(spill));
        const QString text = u"first line\r\nsecond line here\r\nthird, still open"_s;
        store.append(text);
        store.waitForSeals(); // until then the blocks read from their plain bytes
        QVERIFY(store.blockCount() > 1);
        const ReadResult all = store.read(StoreOffset(0), text.size());
        QCOMPARE(all.status, ReadStatus::Damaged);
        QCOMPARE(all.text.size(), text.size());
        QCOMPARE(all.text.count(u"\r\n"_s), text.count(u"\r\n"_s));
        QVERIFY(all.text.endsWith(u"still open"_s)); // in the open block, never sealed
        QCOMPARE(store.lineCount(), 3);
        QCOMPARE(store.lineOf(StoreOffset(text.size())), LineNo(2));
        QCOMPARE(StoreSearch::findForward(store, u"first"_s, StoreOffset(0), Qt::CaseSensitive),
                 std::nullopt);
    }

    // Runs of empty lines in damaged blocks, with block edges at every place in a CR LF: each
    // line still ends at or after its start, so the caret and End stay on it.
    void damagedBlankLinesKeepTheirLines()
    {
        for (int shift = 0; shift < 8; ++shift) {
            LogStore store(32, std::make_unique<DamagingCodec>());
            const QString text = QString(shift, u'x') + u"a\r\n"_s.repeated(3)
                + u"\r\n"_s.repeated(40) + u"open"_s;
            store.append(text);
            store.waitForSeals();
            QCOMPARE(store.read(StoreOffset(0), text.size()).text.size(), text.size());
            for (qint64 line = 0; line < store.lineCount(); ++line)
                QVERIFY2(store.lineEnd(LineNo(line)) >= store.lineStart(LineNo(line)),
                         qPrintable(u"shift %1, line %2"_s.arg(shift).arg(line)));
        }
    }

    // With a spill file, the text lives there, in a file of this store's own that no folder
    // shows; clearing gives the file's space back as well as the memory.
    void clearGivesTheMemoryBack_data()
    {
        QTest::addColumn<bool>("spilled");
        QTest::newRow("in memory") << false;
        QTest::newRow("spilled") << true;
    }
    void clearGivesTheMemoryBack()
    {
        QFETCH(bool, spilled);
        QTemporaryDir cache;
        const QByteArray folder = QFile::encodeName(cache.path());
        CacheSpillFile *file = spilled ? new CacheSpillFile(folder) : nullptr;
        LogStore store(LogStore::kDefaultBlockBytes, nullptr, std::unique_ptr<SpillFile>(file));
        LogStore other(16, nullptr, std::make_unique<CacheSpillFile>(folder));
        QRandomGenerator random(7);
        QString lines;
        for (int k = 0; k < 2000; ++k) {
            lines.clear();
            for (int n = 0; n < 100; ++n)
                lines += QString::number(random.generate64(), 36) + u" ログ\r\n"_s;
            store.append(lines);
        }
        other.append(lines);
        QVERIFY((spilled ? file->fileBytes() : store.heldBytes()) > 2 * 1024 * 1024);
        if (spilled)
            QVERIFY(store.heldBytes() < 1024 * 1024);
        QCOMPARE(store.read(StoreOffset(store.size()) - lines.size(), lines.size()).text, lines);
        QCOMPARE(other.read(StoreOffset(0), lines.size()).text, lines);
        QVERIFY(
            QDir(cache.path())
                .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
        store.clear();
        QVERIFY2(store.heldBytes() < 4096, QByteArray::number(store.heldBytes()));
        QCOMPARE(store.spilledBytes(), 0);
        QCOMPARE(file ? file->fileBytes() : 0, 0);
        QCOMPARE(store.size(), 0);
        QCOMPARE(store.lineCount(), 1);
        store.append(u"again\r\n"_s);
        compareWhole(store, u"again\r\n"_s);
    }
};

QTEST_APPLESS_MAIN(TestLogStore)
#include "tst_LogStore.moc"
