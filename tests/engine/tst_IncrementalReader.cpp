#include "FakeClock.h"
#include "GeneratedFileAccess.h"
#include "StoreText.h"

#include "engine/CharacterSets.h"
#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kSjis = CharacterSets::kShiftJis;
constexpr qint32 kEuc = CharacterSets::kEucJp;
constexpr qint32 kUtf8 = CharacterSets::kUtf8;
constexpr qint32 kAuto = CharacterSets::kAutomatic;

// What the reader hands over: each piece, "+" before one that continues a line, and the text.
struct RecordingSink : TextSink
{
    void show(int, QByteArrayView bytes, bool continuesLine) override
    {
        const QString piece = foldedText(bytes);
        shown << (continuesLine ? u"+"_s : QString()) + piece;
        text += piece;
    }
    QStringList shown;
    QString text;
};

// One whole look at the entry, into the sink: the text it showed, or nullopt when it failed.
std::optional<QString> readLook(IncrementalReader &reader, int lngIndex, qint32 characterSet,
                                RecordingSink &sink)
{
    const qsizetype before = sink.text.size();
    Look look;
    ReadStep step;
    while ((step = reader.readNext(lngIndex, characterSet, look, sink)) == ReadStep::More) { }
    return step == ReadStep::Done ? std::optional(sink.text.mid(before)) : std::nullopt;
}

} // namespace

class TestIncrementalReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    LocalFileAccess m_files;
    Cp932Decoder m_decoder;

    QString pathOf(const QString &name) const { return m_dir.filePath(name); }

    static void write(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | mode));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void append(const QString &name, const QByteArray &bytes)
    {
        write(pathOf(name), bytes, QIODevice::Append);
    }
    void rewrite(const QString &name, const QByteArray &bytes)
    {
        write(pathOf(name), bytes, QIODevice::Truncate);
    }

    // A table holding one file, positioned at its current end as start-up leaves it.
    struct Watch
    {
        FakeClock clock;
        WatchedFileTable table;
        IncrementalReader reader;
        Watch(const FileAccess &files, const ShiftJisDecoder &decoder, const QString &path,
              ReadLimits limits)
            : reader(files, decoder, table, clock, limits)
        {
            table.append(path, table.getIndex());
            table.setFilePointerOfEntry(0, 1);
            reader.setupFilePointer(0);
        }
        qint64 position() const { return *table.filePointerOfEntry(0); }
        RecordingSink sink;
        std::optional<QString> look(qint32 characterSet = kSjis)
        {
            return readLook(reader, 0, characterSet, sink);
        }
    };
    std::unique_ptr<Watch> watch(const QString &name, ReadLimits limits = {})
    {
        return std::make_unique<Watch>(m_files, m_decoder, pathOf(name), limits);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Each append is followed by one look; what each look shows, and the position at the end.
    void looks_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArrayList>("appends");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<qint64>("position");
        const auto row
            = [](const char *name, qint32 set, QByteArrayList appends, QStringList shown) {
                  qint64 size = 100; // what the file held when it was positioned
                  for (const QByteArray &bytes : appends)
                      size += bytes.size();
                  QTest::newRow(name) << set << appends << shown << size + 1;
              };
        row("unchanged", kSjis, {""}, {u""_s});
        row("CR LF", kSjis, {"abc\r\n"}, {u"abc\r"_s});
        row("LF", kSjis, {"a\nb\n"}, {u"a\rb\r"_s});
        row("CR, shown at once", kSjis, {"a\rb\r"}, {u"a\rb\r"_s});
        row("CR CR LF", kSjis, {"\r\r\n"}, {u"\r\r"_s});
        row("CR LF split between looks", kSjis, {"a\r", "\nb\r\n"}, {u"a\r"_s, u"b\r"_s});
        row("LF alone after a CR", kSjis, {"a\r", "\n"}, {u"a\r"_s, u""_s});
        row("empty line after a split CR", kSjis, {"a\r", "\r\nb\n"}, {u"a\r"_s, u"\rb\r"_s});
        row("unfinished line waits", kSjis, {"abc", "def", "\r\n"}, {u""_s, u""_s, u"abcdef\r"_s});
        row("lines before an unfinished one", kSjis, {"a\nb", "c\n"}, {u"a\r"_s, u"bc\r"_s});
        row("invalid EUC-JP is damage", kEuc,
            {"ok\n\xA4"
             "a\n"},
            {u"ok\r\uFFFDa\r"_s});
        row("0x8E cut before an LF", kEuc, {"\r", "\x8E", "\n"}, {u"\r"_s, u""_s, u"\uFFFD\r"_s});
    }
    void looks()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArrayList, appends);
        QFETCH(QStringList, shown);
        QFETCH(qint64, position);
        rewrite(u"looks.log"_s, QByteArray(99, 'x') + '\n');
        auto w = watch(u"looks.log"_s);
        QCOMPARE(w->position(), 101);
        QStringList looks;
        for (const QByteArray &bytes : appends) {
            append(u"looks.log"_s, bytes);
            looks << w->look(characterSet).value_or(u"failed"_s);
        }
        QCOMPARE(looks, shown);
        QCOMPARE(w->position(), position);
    }

    void characterSplitAcrossReadsIsShownWholeAndOnce_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArray>("bytes"); // "ログ" LF in the file's encoding
        QTest::newRow("Shift_JIS") << kSjis << QByteArray("\x83\x8D\x83\x4F\n");
        QTest::newRow("EUC-JP") << kEuc << QByteArray("\xA5\xED\xA5\xB0\n");
        QTest::newRow("UTF-8") << kUtf8 << QByteArray("\xE3\x83\xAD\xE3\x82\xB0\n");
        // The first non-ASCII byte split off: the decision waits for the line.
        QTest::newRow("automatic, Shift_JIS") << kAuto << QByteArray("\x83\x8D\x83\x4F\n");
        QTest::newRow("automatic, EUC-JP") << kAuto << QByteArray("\xA5\xED\xA5\xB0\n");
        QTest::newRow("automatic, UTF-8") << kAuto << QByteArray("\xE3\x83\xAD\xE3\x82\xB0\n");
    }
    void characterSplitAcrossReadsIsShownWholeAndOnce()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArray, bytes);
        rewrite(u"mb.log"_s, {});
        auto w = watch(u"mb.log"_s);
        QString shown;
        // Every cut through the line, including each one inside a character.
        for (int cut = 0; cut < bytes.size(); ++cut) {
            append(u"mb.log"_s, bytes.mid(cut, 1));
            const auto text = w->look(characterSet);
            QVERIFY2(text, "a read must not fail on a half-written character");
            shown += *text;
        }
        QCOMPARE(shown, u"ログ\r"_s);
        QCOMPARE(w->position(), bytes.size() + 1);
    }

    // A file watched from its start; each append is followed by one look. detected: the
    // character set the entry has decided at the end, -1 for none.
    void fromItsStart_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArrayList>("appends");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<qint32>("detected");
        QTest::newRow("byte order mark")
            << kUtf8 << QByteArrayList {"\xEF\xBB\xBFok\n"} << QStringList {u"ok\r"_s} << -1;
        QTest::newRow("byte order mark split")
            << kUtf8 << QByteArrayList {"\xEF", "\xBB", "\xBF", "\n"}
            << QStringList {u""_s, u""_s, u""_s, u"\r"_s} << -1;
        QTest::newRow("not a byte order mark") << kUtf8 << QByteArrayList {"\xEF\xBB", "\n"}
                                               << QStringList {u""_s, u"\uFFFD\r"_s} << -1;
        QTest::newRow("byte order mark decides")
            << kAuto << QByteArrayList {"\xEF\xBB\xBFok\n", "\xE3\x81\x82\n"}
            << QStringList {u"ok\r"_s, u"あ\r"_s} << kUtf8;
        // ASCII reads alike in all: shown before anything is decided.
        const QByteArray ascii = QByteArray("plain ASCII line\n").repeated(150000);
        QTest::newRow("ASCII for a long time, then Japanese")
            << kAuto << QByteArrayList {ascii, "\x83\x8D\x83\x4F\n"}
            << QStringList {QString::fromLatin1(ascii).replace(u'\n', u'\r'), u"ログ\r"_s} << kSjis;
        // Kept once decided: Shift_JIS after EUC-JP is damage.
        QTest::newRow("decision kept") << kAuto << QByteArrayList {"\xA4\xA2\n", "\x82\xA0\n"}
                                       << QStringList {u"あ\r"_s, u"\uFFFD\uFFFD\r"_s} << kEuc;
    }
    void fromItsStart()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArrayList, appends);
        QFETCH(QStringList, shown);
        rewrite(u"start.log"_s, {});
        auto w = watch(u"start.log"_s);
        QStringList looks;
        for (const QByteArray &bytes : appends) {
            append(u"start.log"_s, bytes);
            looks << w->look(characterSet).value_or(u"failed"_s);
        }
        QCOMPARE(looks, shown);
        QCOMPARE(w->position(), QFileInfo(pathOf(u"start.log"_s)).size() + 1);
        QTEST(w->table.followState(0)->detected.value_or(-1), "detected");
    }

    // A decision lasts until the file is read from its start again.
    void fileReadAgainIsDecidedAgain()
    {
        rewrite(u"again.log"_s, {});
        auto w = watch(u"again.log"_s);
        append(u"again.log"_s, "first \xA4\xA2\xA4\xEA\n");
        QCOMPARE(w->look(kAuto), u"first あり\r"_s);
        rewrite(u"again.log"_s, "\x82\xA0\n"); // shorter: from its start
        QCOMPARE(w->look(kAuto), u"あ\r"_s);
        QCOMPARE(w->table.followState(0)->detected, kSjis);
    }

    // A line without its end is shown as it stands once it has kept its length for a second,
    // or as soon as it is longer than the limit; what follows continues it.
    void unfinishedLineStopsWaiting()
    {
        rewrite(u"wait.log"_s, {});
        auto w = watch(u"wait.log"_s, {64, 16, 1000});
        const auto step = [&](const QByteArray &bytes, qint64 wait = 0) {
            append(u"wait.log"_s, bytes);
            w->clock.now += wait;
            w->look();
        };
        step("prompt: \x83");
        step({}, 999);
        QCOMPARE(w->sink.shown, QStringList());
        step({}, 1); // shown, but the cut character waits
        step("\x8D\x83\x4F", 1000); // it grew: the wait starts again
        step(QByteArray(20, 'y')); // longer than the limit: shown at once
        step("\r\n");
        step("next\r\n");
        QCOMPARE(
            w->sink.shown,
            (QStringList {u"prompt: "_s, u"+ログ"_s + QString(20, u'y'), u"+\r"_s, u"next\r"_s}));
        QCOMPARE(w->position(), QFileInfo(pathOf(u"wait.log"_s)).size() + 1);
    }

    void shrinkIsOnlyStrictlyShorter()
    {
        rewrite(u"shrink.log"_s, "012345678\n");
        auto w = watch(u"shrink.log"_s);
        QCOMPARE(w->position(), 11);

        // Equal length: not a shrink, nothing new.
        rewrite(u"shrink.log"_s, "abcdefghi\n");
        QCOMPARE(w->look(), u""_s);
        QCOMPARE(w->position(), 11);

        // Truncated to zero: back to the start, then the new content.
        rewrite(u"shrink.log"_s, {});
        QCOMPARE(w->look(), u""_s);
        QCOMPARE(w->position(), 1);
        append(u"shrink.log"_s, "x\n");
        QCOMPARE(w->look(), u"x\r"_s);

        // Shorter but not empty: everything again from the start.
        rewrite(u"shrink.log"_s, "012345678\n");
        QCOMPARE(w->look(), u"2345678\r"_s);
        rewrite(u"shrink.log"_s, "new\n");
        QCOMPARE(w->look(), u"new\r"_s);
        QCOMPARE(w->position(), 5);
    }

    void existingContentIsNeverShownAfterSetup()
    {
        rewrite(u"big.log"_s, QByteArray(1 << 20, 'm'));
        auto w = watch(u"big.log"_s);
        append(u"big.log"_s, "tail\n");
        QCOMPARE(w->look(), u"tail\r"_s);
    }

    void vanishedFileFailsWithoutChangingState()
    {
        rewrite(u"gone.log"_s, "abc");
        auto w = watch(u"gone.log"_s);
        QVERIFY(QFile::rename(pathOf(u"gone.log"_s), pathOf(u"gone.log.1"_s)));
        QVERIFY(!w->look());
        QVERIFY(!w->reader.setupFilePointer(0));
        QCOMPARE(w->position(), 4);
        rewrite(u"gone.log"_s, "abcdef\n");
        QCOMPARE(w->look(), u"abcdef\r"_s); // another file under the name: from its start
    }

    // The file has been read to its end when it is renamed to log.1; steps follow, each a look
    // ("look"), an append to either file ("+log.1 text"), the new file's creation ("new"), the
    // old one's removal ("rm log.1") or a second passing ("wait"). The pieces shown, in order.
    void rotationReadsTheRestOfTheOldFileFirst_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("late lines, then the new file")
            << QStringList {u"+log.1 late\n"_s, u"new"_s, u"+log new\n"_s, u"look"_s}
            << u"late\r|new\r"_s;
        QTest::newRow("a look while the name is missing")
            << QStringList {u"+log.1 late\n"_s, u"look"_s, u"new"_s, u"+log new\n"_s, u"look"_s}
            << u"late\r|new\r"_s;
        QTest::newRow("the rest read while the name is missing, before the old file goes")
            << QStringList {u"+log.1 late\n"_s, u"look"_s,       u"rm log.1"_s,
                            u"new"_s,           u"+log new\n"_s, u"look"_s}
            << u"late\r|new\r"_s;
        QTest::newRow("old file gone: only the new one")
            << QStringList {u"+log.1 late\n"_s, u"rm log.1"_s, u"new"_s, u"+log new\n"_s, u"look"_s}
            << u"new\r"_s;
        // The unfinished line keeps the entry on the old file until it is shown as it stands.
        QTest::newRow("old file's unfinished line")
            << QStringList {u"+log.1 late"_s, u"new"_s,  u"+log new\n"_s,
                            u"look"_s,        u"wait"_s, u"look"_s}
            << u"late|new\r"_s;
    }
    void rotationReadsTheRestOfTheOldFileFirst()
    {
        QFETCH(QStringList, steps);
        rewrite(u"log"_s, "first\n");
        auto w = watch(u"log"_s);
        QFile::remove(pathOf(u"log.1"_s));
        QVERIFY(QFile::rename(pathOf(u"log"_s), pathOf(u"log.1"_s)));
        for (const QString &step : steps) {
            if (step == u"look")
                w->look();
            else if (step == u"wait")
                w->clock.now += 1000;
            else if (step == u"new")
                rewrite(u"log"_s, {});
            else if (step == u"rm log.1")
                QVERIFY(QFile::remove(pathOf(u"log.1"_s)));
            else
                append(step.section(u' ', 0, 0).mid(1), step.section(u' ', 1).toUtf8());
        }
        QTEST(w->sink.shown.join(u'|'), "shown");
        QCOMPARE(w->position(), QFileInfo(pathOf(u"log"_s)).size() + 1);
    }

    // A writer that logs on through rotations: each time it renames its file, writes two more
    // lines into it and starts a new one. Looks fall anywhere, also while the name is missing.
    void everyLineOnceThroughRotations()
    {
        rewrite(u"busy.log"_s, {});
        auto w = watch(u"busy.log"_s);
        QString written;
        const auto line = [&](const QString &name, int n) {
            const QByteArray text = "line " + QByteArray::number(n) + '\n';
            append(name, text);
            written += QString::fromLatin1(text.chopped(1)) + u'\r';
        };
        for (int n = 0; n < 600;) {
            line(u"busy.log"_s, n++);
            if (n % 97 == 0) {
                QFile::remove(pathOf(u"busy.log.1"_s));
                QVERIFY(QFile::rename(pathOf(u"busy.log"_s), pathOf(u"busy.log.1"_s)));
                if (n % 2 == 0)
                    w->look();
                line(u"busy.log.1"_s, n++);
                line(u"busy.log.1"_s, n++);
                rewrite(u"busy.log"_s, {});
            }
            if (n % 7 == 0)
                w->look();
        }
        w->look();
        QCOMPARE(w->sink.text, written);
    }

    // A name found missing, or holding no regular file, makes the next file under it a new one,
    // though the file system hands it the old inode number (the generated file always has one).
    void fileThatComesBackIsNew()
    {
        GeneratedFileAccess files("0123456789\n", 110);
        Watch w(files, m_decoder, u"back.log"_s, {});
        files.gone = true;
        QVERIFY(!w.look());
        files.gone = false;
        files.setLength(220);
        QCOMPARE(w.look(), u"0123456789\r"_s.repeated(20));
    }

    void nonRegularFilesFailWithoutBlocking()
    {
        const QString fifo = pathOf(u"pipe"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!m_files.openForReading(fifo)); // would block forever without O_NONBLOCK
        QVERIFY(!m_files.openForReading(m_dir.path()));
        QVERIFY(!m_files.openForReading(u"/dev/zero"_s));
        QVERIFY(!m_files.exists(m_dir.path()));
        QVERIFY(!m_files.exists(pathOf(u"missing"_s)));
        for (const QString &gone : {fifo, m_dir.path(), pathOf(u"missing"_s)})
            QVERIFY(m_files.nameIsGone(gone));
        rewrite(u"regular"_s, {});
        QVERIFY(!m_files.nameIsGone(pathOf(u"regular"_s)));
    }

    void sparseFileBeyondFourGiBIsReadAtItsEnd()
    {
        const QString path = pathOf(u"sparse.log"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize((qint64(5) << 30)));
        }
        auto w = watch(u"sparse.log"_s);
        QCOMPARE(w->position(), (qint64(5) << 30) + 1);
        append(u"sparse.log"_s, "far\r\n");
        QCOMPARE(w->look(), u"far\r"_s);
        QCOMPARE(w->position(), (qint64(5) << 30) + 6);
        QFile::remove(path);
    }

    // A sparse file as large as a file can be (tmpfs allows it) has no position after its end.
    void fileOfTheLargestLengthIsRefused()
    {
        const GeneratedFileAccess endless("x\n", std::numeric_limits<qint64>::max());
        Watch w(endless, m_decoder, u"endless.log"_s, {});
        QVERIFY(!w.reader.setupFilePointer(0));
        QCOMPARE(w.position(), 1);
    }

    void invalidEntryFails()
    {
        auto w = watch(u"whatever.log"_s);
        QVERIFY(!readLook(w->reader, 3, kSjis, w->sink));
        w->table.append(pathOf(u"whatever.log"_s), 42);
        rewrite(u"whatever.log"_s, "x");
        QVERIFY(!w->reader.setupFilePointer(1));
        QVERIFY(!readLook(w->reader, 1, kSjis, w->sink));
    }
};

QTEST_APPLESS_MAIN(TestIncrementalReader)
#include "tst_IncrementalReader.moc"
