// Floods and hostile content: a writer that never pauses, followed by the real polling cycle
// into the real view; a single enormous line, NUL bytes and random binary through the reader.

#include "Deadline.h"
#include "PolledLogs.h"

#include "view/LogScrollView.h"
#include <QRandomGenerator>
#include <QTest>

#include <atomic>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kLog = u"flood.log"_s;
constexpr qint32 kSjis = 0;
constexpr qint32 kEuc = 1;

// Where two long texts part, for a failure message that does not print megabytes.
QByteArray firstDifference(const QString &actual, const QString &expected)
{
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual.at(at) == expected.at(at))
        ++at;
    return "texts differ at " + QByteArray::number(at) + " of " + QByteArray::number(actual.size())
        + "/" + QByteArray::number(expected.size()) + ": \"" + actual.mid(at, 20).toUtf8()
        + "\" instead of \"" + expected.mid(at, 20).toUtf8() + "\"";
}

} // namespace

class TestFlood : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Another thread appends to three files through their own descriptors, in chunks of random
    // size that cut lines, characters and CR LF pairs anywhere, while the cycle ticks as fast
    // as it can. Every line (every matching line in grep mode) shows exactly once, whole, in its
    // file's order, and no line shows that was not written: no halves of lines mixed with other
    // files' lines, no empty lines from CR LF pairs split between two reads.
    void writersAppendWhilePivexReads_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<bool>("grepMode");
        QTest::newRow("Shift_JIS") << kSjis << false;
        QTest::newRow("EUC-JP") << kEuc << false;
        QTest::newRow("Shift_JIS, grep") << kSjis << true;
        QTest::newRow("EUC-JP, grep") << kEuc << true;
    }
    void writersAppendWhilePivexReads()
    {
        QFETCH(qint32, characterSet);
        QFETCH(bool, grepMode);
        constexpr int kFiles = 3;
        constexpr int kLines = 20000;
        const QByteArray lineEnds[kFiles] = {"\r\n", "\n", "\r"};
        // 行 ログ ｱ in each character set
        const QByteArray words = characterSet == kEuc ? "\xb9\xd4 \xa5\xed\xa5\xb0\x8e\xb1"
                                                      : "\x8d\x73 \x83\x8d\x83\x4f\xb1";
        QByteArray bytes[kFiles];
        QStringList expected[kFiles];
        for (int f = 0; f < kFiles; ++f) {
            for (int i = 0; i < kLines; ++i) {
                const QByteArray tag = "f" + QByteArray::number(f) + " " + QByteArray::number(i)
                    + (i % 3 == 0 ? " ERR " : " ok ");
                bytes[f] += tag + words + lineEnds[f];
                if (!grepMode || i % 3 == 0)
                    expected[f] << QString::fromLatin1(tag) + u"行 ログｱ"_s;
            }
        }

        PolledLogs p({u"0.log"_s, u"1.log"_s, u"2.log"_s});
        p.state.CharacterSet = characterSet;
        p.state.grepMode = grepMode;
        p.state.GrepKeyword = u"ERR"_s;
        int writers[kFiles];
        for (int f = 0; f < kFiles; ++f) {
            writers[f] = ::open(QFile::encodeName(p.table.path(f)).constData(),
                                O_WRONLY | O_APPEND | O_CLOEXEC);
            QVERIFY(writers[f] >= 0);
        }
        std::atomic<bool> done = false;
        std::atomic<int> ticks = 0;
        std::thread writing([&] {
            QRandomGenerator random(20240601);
            qsizetype at[kFiles] = {};
            for (;;) {
                int f = int(random.bounded(kFiles));
                for (int k = 0; k < kFiles && at[f] == bytes[f].size(); ++k)
                    f = (f + 1) % kFiles;
                if (at[f] == bytes[f].size())
                    break;
                const qsizetype n
                    = std::min<qsizetype>(bytes[f].size() - at[f], random.bounded(1, 2048));
                if (::write(writers[f], bytes[f].constData() + at[f], size_t(n)) != n)
                    break;
                at[f] += n;
                // Left alone, the writer is done before the first tick; it waits for a tick
                // after each chunk, which it then races with its next write.
                for (const int seen = ticks; ticks == seen;)
                    std::this_thread::yield();
            }
            done = true;
        });

        {
            const Deadline deadline(300);
            while (!done) {
                QVERIFY(p.timer.tick());
                ++ticks;
            }
            writing.join();
            QVERIFY(p.timer.tick());
        }
        for (const int writer : writers)
            ::close(writer);

        QVERIFY(p.messages.texts.isEmpty());
        QStringList shown[kFiles];
        const QStringList lines = p.view.text().split(u"\r\n"_s);
        QCOMPARE(lines.last(), QString()); // the view ends with a line break
        int switches = 0;
        for (qsizetype k = 0; k + 1 < lines.size(); ++k) {
            const QString &line = lines.at(k);
            const int f = line.size() > 1 ? line.at(1).digitValue() : -1;
            QVERIFY2(line.startsWith(u'f') && f >= 0 && f < kFiles, qPrintable(line.left(40)));
            shown[f] << line;
            switches += k > 0 && !lines.at(k - 1).startsWith(line.left(2)) ? 1 : 0;
        }
        for (int f = 0; f < kFiles; ++f)
            QCOMPARE(shown[f], expected[f]);
        QVERIFY2(switches > 100, "the reads did not interleave the files");
    }

    // Content no log should hold: the read returns with everything decoded (damage as U+FFFD),
    // and the view shows it and paints without hanging (an overlong line is broken for display
    // only); nothing crashes.
    void hostileContent_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // null: anything decoded is fine
        QTest::newRow("one 20 MB line")
            << kSjis << QByteArray("\x83\x8d\x83\x4fx").repeated(4 << 20) + "\r\n"
            << u"ログx"_s.repeated(4 << 20) + u"\r"_s;
        QTest::newRow("NUL bytes") << kEuc << QByteArray(1 << 20, '\0') + "\r\nafter\r\n"
                                   << QString(1 << 20, QChar(0)) + u"\rafter\r"_s;
        QByteArray noise(4 << 20, Qt::Uninitialized);
        QRandomGenerator random(932);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QTest::newRow("random binary, Shift_JIS") << kSjis << noise << QString();
        QTest::newRow("random binary, EUC-JP") << kEuc << noise << QString();
    }
    void hostileContent()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        WatchedLogs logs;
        logs.state.CharacterSet = characterSet;
        logs.watch(kLog);
        logs.append(kLog, bytes);
        logs.view.widget()->resize(640, 480);
        logs.view.widget()->show();
        {
            const Deadline deadline(120);
            QVERIFY(logs.appender.readLog2(0));
            QCoreApplication::processEvents(); // lays out and paints what is visible
        }
        // Only the unfinished line after the last line end waits for the next read.
        const qsizetype lastEnd = std::max(bytes.lastIndexOf('\r'), bytes.lastIndexOf('\n'));
        QCOMPARE(logs.position(0), lastEnd + 2);
        const QString shown = logs.view.text();
        QVERIFY(!shown.isEmpty());
        if (!expected.isNull()) {
            const QString inView = QString(expected).replace(u'\r', u"\r\n"_s);
            QVERIFY2(shown == inView, firstDifference(shown, inView).constData());
        }
    }
};

QTEST_MAIN(TestFlood)
#include "tst_Flood.moc"
