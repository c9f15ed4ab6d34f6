#include "platform/InotifyFileWatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Kernel watches held by the inotify descriptors of this process, from /proc/self/fdinfo.
int kernelWatches()
{
    int watches = 0;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
        if (!QFile::symLinkTarget(fds.filePath(fd)).contains(u"inotify"_s))
            continue;
        QFile info(u"/proc/self/fdinfo/"_s + fd);
        if (info.open(QIODevice::ReadOnly))
            watches += int(info.readAll().count("inotify wd:"));
    }
    return watches;
}

} // namespace

class TestInotifyFileWatch : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QList<int> m_notices;

    QString pathOf(const QString &name) const { return m_dir.filePath(name); }

    // One step on the folder: "append NAME", "truncate NAME", "rename NAME NEW", "remove NAME",
    // "mkdir NAME"; "notice" waits for a notice and forgets those so far.
    void run(const QString &step)
    {
        const QStringList words = step.split(u' ');
        const QString path = pathOf(words.value(1));
        QFile file(path);
        if (words[0] == u"append")
            QVERIFY(file.open(QIODevice::Append) && file.write("line\n") == 5);
        else if (words[0] == u"truncate")
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        else if (words[0] == u"rename")
            QVERIFY(file.rename(pathOf(words[2])));
        else if (words[0] == u"remove")
            QVERIFY(file.remove());
        else if (words[0] == u"mkdir")
            QVERIFY(QDir().mkdir(path));
        else if (words[0] == u"notice") {
            QTRY_VERIFY(!m_notices.isEmpty());
            m_notices.clear();
        }
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init()
    {
        m_notices.clear();
        for (const QString &name :
             QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QVERIFY(QFile::remove(pathOf(name)) || QDir(pathOf(name)).removeRecursively());
        QFile a(pathOf(u"a.log"_s));
        QVERIFY(a.open(QIODevice::WriteOnly));
    }

    // a.log is watched for entry 7; after the steps, whether a notice comes for it. The last
    // step of a row that replaces the file tests that the new file is watched in turn.
    void noticesFollowTheName_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("notice");
        QTest::newRow("append") << QStringList {u"append a.log"_s} << true;
        QTest::newRow("truncate") << QStringList {u"truncate a.log"_s} << true;
        QTest::newRow("rename and re-create")
            << QStringList {u"rename a.log a.log.1"_s, u"notice"_s, u"append a.log"_s, u"notice"_s,
                            u"append a.log"_s}
            << true;
        QTest::newRow("delete and re-create")
            << QStringList {u"remove a.log"_s, u"notice"_s, u"append a.log"_s, u"notice"_s,
                            u"append a.log"_s}
            << true;
        QTest::newRow("replaced by a directory")
            << QStringList {u"remove a.log"_s, u"notice"_s, u"mkdir a.log"_s} << true;
        QTest::newRow("another file in the folder") << QStringList {u"append b.log"_s} << false;
        QTest::newRow("old file after a rotation")
            << QStringList {u"rename a.log a.log.1"_s, u"notice"_s, u"append a.log.1"_s} << false;
    }
    void noticesFollowTheName()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, notice);
        InotifyFileWatch watch;
        watch.setHandler([this](int entry) { m_notices << entry; });
        QVERIFY(watch.add(7, pathOf(u"a.log"_s)));
        for (const QString &step : steps)
            run(step);
        if (notice)
            QTRY_COMPARE(m_notices, QList<int> {7});
        else
            QTest::qWait(50); // a notice would be read in the first turns of the event loop
        QCOMPARE(m_notices.isEmpty(), !notice);
        QVERIFY(watch.isWatched(7));
    }

    // Entries in one folder share its watch; the last one to go takes every watch with it.
    void noWatchIsLeftBehind()
    {
        const int before = kernelWatches();
        InotifyFileWatch watch;
        run(u"append b.log"_s);
        QVERIFY(watch.add(0, pathOf(u"a.log"_s)));
        QVERIFY(watch.add(1, pathOf(u"b.log"_s)));
        QVERIFY(watch.add(2, pathOf(u"a.log"_s)));
        QCOMPARE(kernelWatches(), before + 3); // the folder, a.log, b.log
        watch.remove(0);
        watch.remove(1);
        QCOMPARE(kernelWatches(), before + 2);
        QVERIFY(!watch.add(2, pathOf(u"missing/a.log"_s))); // replaces, and is refused
        QVERIFY(!watch.isWatched(2));
        QCOMPARE(kernelWatches(), before);
    }
};

QTEST_GUILESS_MAIN(TestInotifyFileWatch)
#include "tst_InotifyFileWatch.moc"
