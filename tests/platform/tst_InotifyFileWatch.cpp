#include "platform/InotifyFileWatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInotifyFileWatch : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QList<int> m_notices;

    QString pathOf(const QString &name) const { return m_dir.filePath(name); }

    // Kernel watches of this process's inotify descriptors, as /proc/self/fdinfo lists them.
    static int kernelWatches()
    {
        int watches = 0;
        const QDir fds(u"/proc/self/fd"_s);
        for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
            QFile info(u"/proc/self/fdinfo/"_s + fd);
            if (QFile::symLinkTarget(fds.filePath(fd)).contains(u"inotify"_s)
                && info.open(QIODevice::ReadOnly))
                watches += int(info.readAll().count("inotify wd:"));
        }
        return watches;
    }

    // One step on the folder: "append NAME", "truncate NAME", "rename NAME NEW", "remove NAME",
    // "mkdir NAME"; "notice" waits for a notice and forgets those so far.
    void run(const QString &step)
    {
        const QStringList words = step.split(u' ');
        QFile file(pathOf(words.value(1)));
        if (words[0] == u"append")
            QVERIFY(file.open(QIODevice::Append) && file.write("line\n") == 5);
        else if (words[0] == u"truncate")
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        else if (words[0] == u"rename")
            QVERIFY(file.rename(pathOf(words[2])));
        else if (words[0] == u"remove")
            QVERIFY(file.remove());
        else if (words[0] == u"mkdir")
            QVERIFY(QDir().mkdir(file.fileName()));
        if (words[0] == u"notice")
            QTRY_VERIFY(!m_notices.isEmpty());
        m_notices.clear();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        run(u"append a.log"_s);
    }

    // a.log is watched for entry 7; after the steps, whether a notice comes for it. The last
    // append of a row that replaces the file tests that the new file is watched in turn.
    void noticesFollowTheName_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("notice");
        QTest::newRow("append") << u"append a.log"_s << true;
        QTest::newRow("truncate") << u"truncate a.log"_s << true;
        QTest::newRow("rename and re-create")
            << u"rename a.log a.log.1|notice|append a.log|notice|append a.log"_s << true;
        QTest::newRow("delete and re-create")
            << u"remove a.log|notice|append a.log|notice|append a.log"_s << true;
        QTest::newRow("replaced by a directory") << u"remove a.log|notice|mkdir a.log"_s << true;
        QTest::newRow("another file in the folder") << u"append b.log"_s << false;
    }
    void noticesFollowTheName()
    {
        QFETCH(QString, steps);
        QFETCH(bool, notice);
        InotifyFileWatch watch;
        watch.setHandler([this](int entry) { m_notices << entry; });
        QVERIFY(watch.add(7, pathOf(u"a.log"_s)));
        for (const QString &step : steps.split(u'|'))
            run(step);
        if (notice)
            QTRY_COMPARE(m_notices, QList<int> {7});
        QTest::qWait(20); // a notice for nothing would be read meanwhile
        QCOMPARE(m_notices, notice ? QList<int> {7} : QList<int> {});
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
