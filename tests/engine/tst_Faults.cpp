// Watched files that change under Pivex in ways a writer never intends: replaced, rotated,
// turned into something that is not a file, filled with markup. Real files, the real reader,
// the real view and the real polling cycle.

#include "Deadline.h"
#include "PolledLogs.h"

#include "view/LogScrollView.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextDocument>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kLog = u"app.log"_s;

void rewrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot rewrite %s", qPrintable(path));
}

int openDescriptors()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The file has been read up to "line 2" (position 17) when it is replaced. A new file under
    // the name is read from its start; the same file rewritten is followed from the old position
    // unless it is shorter than that.
    void replacedUnderItsName_data()
    {
        QTest::addColumn<bool>("rotate"); // renamed away and created anew, else rewritten
        QTest::addColumn<bool>("tickInTheGap"); // a tick while no file has the name
        QTest::addColumn<QByteArray>("newContent");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint64>("position");
        // Not noticed: reading goes on at the old position, in the middle of a line.
        QTest::newRow("rewritten past the old position")
            << false << false << QByteArray("new 1\r\nnew 2\r\nnew 3\r\n") << u"w 3\r\n"_s
            << qint64(22);
        QTest::newRow("rewritten to the same length")
            << false << false << QByteArray("rewritten line\r\n") << QString() << qint64(17);
        // Rotation: the old file's last lines first, found under its new name, then the new
        // file from its start, however far it has grown.
        const QString late = u"late line of the old file\r\n"_s;
        QTest::newRow("rotated, new file shorter")
            << true << false << QByteArray("fresh\r\n") << late + u"fresh\r\n"_s << qint64(8);
        QTest::newRow("rotated, tick in the gap")
            << true << true << QByteArray("fresh\r\n") << late + u"fresh\r\n"_s << qint64(8);
        QTest::newRow("rotated, new file already longer")
            << true << false << QByteArray("fresh 1\r\nfresh 2\r\nfresh 3\r\n")
            << late + u"fresh 1\r\nfresh 2\r\nfresh 3\r\n"_s << qint64(28);
    }
    void replacedUnderItsName()
    {
        QFETCH(bool, rotate);
        QFETCH(bool, tickInTheGap);
        QFETCH(QByteArray, newContent);
        QFETCH(QString, shown);
        QFETCH(qint64, position);
        PolledLogs p({kLog});
        const QString path = p.pathOf(kLog);
        p.append(kLog, "line 1\r\nline 2\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.position(0), 17);
        const QString before = p.view.text();

        if (rotate) {
            QVERIFY(QFile::rename(path, path + u".1"_s));
            p.append(kLog + u".1"_s, "late line of the old file\r\n");
        }
        if (tickInTheGap) {
            // What the old file holds is shown at once; the name is asked about once nothing
            // is left to read.
            QVERIFY(p.timer.tick());
            QCOMPARE(p.view.text(), before + u"late line of the old file\r\n"_s);
            QVERIFY(p.messages.texts.isEmpty());
            QVERIFY(p.timer.tick());
            QCOMPARE(p.messages.texts, QStringList {PolledLogs::failureText(path)});
        }
        rewrite(path, newContent);
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), before + shown);
        QCOMPARE(p.position(0), position);

        p.append(kLog, "next\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), before + shown + u"next\r\n"_s);
        QCOMPARE(p.messages.texts.size(), tickInTheGap ? 1 : 0);
    }

    // Something that cannot be read takes the name of a watched file: the first tick asks the
    // question at once instead of blocking, later ticks retry silently, nothing moves, and once
    // a new file is under the name it is read from its start. (The original file is renamed
    // away, not deleted, so that no new file can be given its inode.)
    void unreadableInPlaceOfTheFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"mode 000", "directory", "FIFO", "FIFO with a writer", "symbolic link to /dev/zero",
              "dangling symbolic link", "/dev/zero named as the file"})
            QTest::newRow(kind) << QString::fromUtf8(kind);
    }
    void unreadableInPlaceOfTheFile()
    {
        QFETCH(QString, kind);
        if (kind == u"mode 000"_s && ::geteuid() == 0)
            QSKIP("root reads a file of mode 000; the row needs an ordinary user");
        PolledLogs p({kLog});
        p.append(kLog, "x\r\n");
        QVERIFY(p.timer.tick());
        QString path = p.pathOf(kLog);
        const QByteArray native = QFile::encodeName(path);
        int fifoWriter = -1;

        if (kind == u"/dev/zero named as the file"_s) {
            path = u"/dev/zero"_s;
            QVERIFY(p.table.removeAt(0));
            p.table.append(path, p.table.getIndex());
            p.table.setFilePointerOfEntry(0, 1);
        } else if (kind == u"mode 000"_s) {
            QVERIFY(QFile::setPermissions(path, {}));
        } else {
            QVERIFY(QFile::rename(path, path + u".old"_s));
            if (kind == u"directory"_s)
                QVERIFY(QDir().mkdir(path));
            else if (kind.startsWith(u"FIFO"_s))
                QCOMPARE(::mkfifo(native.constData(), 0600), 0);
            else
                QVERIFY(QFile::link(kind.contains(u"zero"_s) ? u"/dev/zero"_s : path + u".gone"_s,
                                    path));
            if (kind == u"FIFO with a writer"_s) {
                fifoWriter = ::open(native.constData(), O_RDWR | O_NONBLOCK);
                QVERIFY(fifoWriter >= 0);
                QCOMPARE(::write(fifoWriter, "in the pipe\n", 12), 12);
            }
        }
        const qint64 position = p.position(0);
        {
            const Deadline deadline(20);
            QVERIFY(p.timer.tick());
            QVERIFY(p.timer.tick());
        }
        if (fifoWriter >= 0)
            ::close(fifoWriter);
        QCOMPARE(p.messages.texts, QStringList {PolledLogs::failureText(path)});
        QVERIFY(p.timer.isEnabled());
        QCOMPARE(p.view.text(), u"x\r\n"_s);
        QCOMPARE(p.position(0), position);
        if (path == u"/dev/zero"_s)
            return;

        if (QFileInfo(path).isDir())
            QVERIFY(QDir().rmdir(path));
        else
            QVERIFY(QFile::rename(path, path + u".away"_s));
        rewrite(path, "back\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"x\r\nback\r\n"_s);
        QCOMPARE(p.messages.texts.size(), 1);
    }

    // Log lines are text, whatever they look like: markup, terminal escapes and NUL bytes reach
    // the view character for character and change neither its format nor its line count.
    void markupAndEscapesAreShownLiterally()
    {
        PolledLogs p({kLog});
        const QByteArray lines
            = QByteArrayLiteral("<b>bold?</b> <script>alert(1)</script> &amp;\r\n"
                                "{\\rtf1\\ansi {\\b bold?}\\par}\r\n"
                                "\x1b[31mred?\x1b[0m \x1b]0;title\x07 \x1b[2J\r\n"
                                "NUL\0inside\0\r\n");
        p.append(kLog, lines);
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), QString::fromLatin1(lines));
        QCOMPARE(p.view.lineCount(), 5);
        const QColor colour = p.view.textColorAt(0);
        for (qsizetype at = 0; at < p.view.textLength(); ++at)
            QCOMPARE(p.view.textColorAt(at), colour);
    }

    // However often it polls, Pivex leaves the files as they are and holds none of them open
    // between ticks, on the failure path as well (the missing file, last in the list).
    void neverWritesAndHoldsNothingOpen()
    {
        PolledLogs p({u"still.log"_s, u"growing.log"_s, u"missing.log"_s});
        const QString still = p.pathOf(u"still.log"_s);
        const QByteArray content = QByteArray("unchanged line\r\n").repeated(64);
        rewrite(still, content);
        p.table.setFilePointerOfEntry(0, 1);
        QVERIFY(QFile::remove(p.pathOf(u"missing.log"_s)));
        QVERIFY(p.timer.tick()); // reads still.log once, warms up whatever Qt opens lazily
        const QFileInfo before(still);
        const int descriptors = openDescriptors();

        QByteArray written;
        for (int tick = 0; tick < 10000; ++tick) {
            if (tick % 100 == 0) {
                const QByteArray line = QByteArray::number(tick) + "\r\n";
                p.append(u"growing.log"_s, line);
                written += line;
            }
            QVERIFY(p.timer.tick());
        }

        QCOMPARE(openDescriptors(), descriptors);
        QCOMPARE(p.messages.texts.size(), 1);
        const QFileInfo after(still);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.lastModified(), before.lastModified());
        QFile stillFile(still);
        QVERIFY(stillFile.open(QIODevice::ReadOnly));
        QCOMPARE(stillFile.readAll(), content);
        QFile growing(p.pathOf(u"growing.log"_s));
        QVERIFY(growing.open(QIODevice::ReadOnly));
        QCOMPARE(growing.readAll(), written);
        QCOMPARE(p.view.text(), QString::fromLatin1(content + written));
    }
};

QTEST_MAIN(TestFaults)
#include "tst_Faults.moc"
