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
    // Another thread appends through its own descriptor in chunks of random size, cutting
    // lines and characters anywhere, while the cycle ticks as fast as it can. Every line
    // arrives once, whole, in order. (LF line ends: a CR LF pair cut between two reads shows
    // an empty line by design.)
    void writerAppendsWhilePivexReads_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArray>("gyou"); // 行
        QTest::addColumn<QByteArray>("rogu"); // ログ
        QTest::addColumn<QByteArray>("kana"); // ｱ
        QTest::newRow("Shift_JIS") << kSjis << QByteArray("\x8d\x73")
                                   << QByteArray("\x83\x8d\x83\x4f") << QByteArray("\xb1");
        QTest::newRow("EUC-JP") << kEuc << QByteArray("\xb9\xd4") << QByteArray("\xa5\xed\xa5\xb0")
                                << QByteArray("\x8e\xb1");
    }
    void writerAppendsWhilePivexReads()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArray, gyou);
        QFETCH(QByteArray, rogu);
        QFETCH(QByteArray, kana);
        constexpr int kLines = 100001;
        QByteArray bytes;
        QString expected;
        for (int i = 0; i < kLines; ++i) {
            const QByteArray number = QByteArray::number(i);
            bytes += gyou + number + ' ' + rogu + kana + " flood\n";
            expected += u"行"_s % QLatin1StringView(number) % u" ログｱ flood\r\n"_s;
        }

        PolledLogs p({kLog});
        p.state.CharacterSet = characterSet;
        const int writer = ::open(QFile::encodeName(p.pathOf(kLog)).constData(),
                                  O_WRONLY | O_APPEND | O_CLOEXEC);
        QVERIFY(writer >= 0);
        std::atomic<bool> done = false;
        std::atomic<int> ticks = 0;
        std::thread writing([&] {
            QRandomGenerator random(20240601);
            for (qsizetype at = 0; at < bytes.size();) {
                const qsizetype n = std::min<qsizetype>(bytes.size() - at, random.bounded(1, 8192));
                if (::write(writer, bytes.constData() + at, size_t(n)) != n)
                    break;
                at += n;
                // Left alone, the writer is done before the first tick; it waits for a tick
                // after each chunk, which it then races with its next write.
                for (const int seen = ticks; ticks == seen;)
                    std::this_thread::yield();
            }
            done = true;
        });

        int ticksWithText = 0;
        {
            const Deadline deadline(300);
            while (!done) {
                const qsizetype before = p.view.textLength();
                QVERIFY(p.timer.tick());
                ++ticks;
                ticksWithText += p.view.textLength() > before ? 1 : 0;
            }
            writing.join();
            QVERIFY(p.timer.tick());
        }
        ::close(writer);

        QVERIFY(p.messages.texts.isEmpty());
        QCOMPARE(p.position(0), bytes.size() + 1);
        const QString shown = p.view.text();
        QVERIFY2(shown == expected, firstDifference(shown, expected).constData());
        QVERIFY2(ticksWithText > 100, "the reads did not interleave with the writes");
    }

    // Content no log should hold: the read returns, with everything decoded in one piece or
    // (EUC-JP conversion failure) with a failure and its place kept, and the view shows it and
    // paints without hanging (an overlong line is broken for display only); nothing crashes.
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
        logs.watch(kLog);
        logs.append(kLog, bytes);
        logs.view.widget()->resize(640, 480);
        logs.view.widget()->show();
        bool read = false;
        {
            const Deadline deadline(120);
            read = logs.appender.readLog2(0);
            QCoreApplication::processEvents(); // lays out and paints what is visible
        }
        if (!read) {
            QCOMPARE(characterSet, kEuc);
            QCOMPARE(logs.position(0), 1);
            return;
        }
        // Only an unfinished character at the very end may wait for the next read.
        QVERIFY(logs.position(0) >= bytes.size() && logs.position(0) <= bytes.size() + 1);
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
