// The settings file in situations the user did not plan for: kept elsewhere behind a symbolic
// link, made private, written by two instances of Pivex at the same moment, or its lock file's
// place taken by a folder.

#include "Deadline.h"
#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kApp = u"PIVEX"_s;
const QString kSection = u"Option"_s;

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void setContents(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestSettingsStoreFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A settings file kept in a dotfiles folder and linked into the configuration directory
    // stays linked: the save goes to the file the link names, which is replaced whole as
    // usual. Replacing the link by a plain file would silently fork the user's settings.
    void saveWritesThroughASymbolicLink()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(QDir(home.path()).mkdir(u"dotfiles"_s));
        const QString target = home.filePath(u"dotfiles/pivex.ini"_s);
        setContents(target, "; mine\n[Option]\nInterval=500\n");
        IniSettingsStore store(home.path());
        const QString link = store.filePath(kApp);
        QVERIFY(QFile::link(u"dotfiles/pivex.ini"_s, link));

        QCOMPARE(store.read(kApp, kSection, u"Interval"_s, u"1000"_s), u"500"_s);
        QVERIFY(store.save(kApp, kSection, u"Interval"_s, u"2000"_s));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contentsOf(target), QByteArray("; mine\n[Option]\nInterval=2000\n"));
        QCOMPARE(store.read(kApp, kSection, u"Interval"_s, u"1000"_s), u"2000"_s);
        // The temporary file lives beside the target and is gone after the rename.
        QCOMPARE(QDir(home.filePath(u"dotfiles"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList {u"pivex.ini"_s});
    }

    // Two instances confirm their options at the same moment, each saving its own key over and
    // over. A save may undo the other instance's latest value (last writer wins), but whoever
    // opens the file at any moment finds a whole store: every line complete, nothing
    // interleaved, the lines the user wrote still there.
    void twoInstancesSavingAtOnce()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString path = IniSettingsStore(home.path()).filePath(kApp);
        const QByteArray header = "; written by hand\n[Option]\n";
        setContents(path, header);

        constexpr int kSaves = 300;
        std::atomic<int> running = 2;
        std::atomic<int> failedSaves = 0;
        const auto instance = [&](const QString &key) {
            IniSettingsStore store(home.path());
            for (int i = 0; i < kSaves; ++i) {
                if (!store.save(kApp, kSection, key, QString::number(i).repeated(50)))
                    ++failedSaves;
            }
            --running;
        };
        std::thread first(instance, u"First"_s);
        std::thread second(instance, u"Second"_s);

        int looks = 0;
        QByteArray broken;
        while (running > 0 && broken.isEmpty()) {
            const QByteArray now = contentsOf(path);
            ++looks;
            if (!now.startsWith(header) || !now.endsWith('\n'))
                broken = now;
            for (const QByteArray &line : now.split('\n').mid(2)) {
                const qsizetype equals = line.indexOf('=');
                const QByteArray key = line.left(equals);
                const QByteArray value = line.mid(equals + 1);
                const QByteArray unit = value.left(value.size() / 50);
                if (!line.isEmpty()
                    && ((key != "First" && key != "Second") || value != unit.repeated(50)))
                    broken = now;
            }
        }
        first.join();
        second.join();

        QVERIFY2(broken.isEmpty(), broken.left(300).constData());
        QCOMPARE(failedSaves.load(), 0);
        QVERIFY(looks > 10);
        const QByteArray last = contentsOf(path);
        QVERIFY(last.startsWith(header));
        // Saves are serialised, so neither instance's last value is lost to the other's.
        const QByteArray final = QByteArray::number(kSaves - 1).repeated(50);
        QVERIFY(last.contains(QByteArray("First=" + final + "\n")));
        QVERIFY(last.contains(QByteArray("Second=" + final + "\n")));
        QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList {u"pivex.ini"_s});
    }

    // A save keeps the permission bits the user gave the file, whatever the umask says.
    void saveKeepsPermissionBits_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::newRow("private") << 0600u;
        QTest::newRow("group may read") << 0640u;
        QTest::newRow("world may read") << 0644u;
    }
    void saveKeepsPermissionBits()
    {
        QFETCH(uint, mode);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        IniSettingsStore store(home.path());
        const QByteArray path = QFile::encodeName(store.filePath(kApp));
        setContents(QString::fromLocal8Bit(path), "[Option]\nInterval=500\n");
        QCOMPARE(::chmod(path.constData(), mode), 0);

        QVERIFY(store.save(kApp, kSection, u"Interval"_s, u"2000"_s));
        struct stat status
        {
        };
        QCOMPARE(::stat(path.constData(), &status), 0);
        QCOMPARE(uint(status.st_mode & 07777), mode);
        QCOMPARE(store.read(kApp, kSection, u"Interval"_s, u"1000"_s), u"2000"_s);
    }

    // A folder where the lock file belongs can never be taken as a lock: the save fails at
    // once, rather than after waiting for a saver that does not exist, and changes nothing.
    void folderInTheLockPlaceFailsAtOnce()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        IniSettingsStore store(home.path());
        const QString path = store.filePath(kApp);
        setContents(path, "[Option]\nInterval=500\n");
        QVERIFY(QDir().mkdir(path + u".lock"_s));

        const Deadline deadline(3); // the wait for another saver is 5 s
        QVERIFY(!store.save(kApp, kSection, u"Interval"_s, u"2000"_s));
        QCOMPARE(contentsOf(path), QByteArray("[Option]\nInterval=500\n"));
        QVERIFY(QFileInfo(path + u".lock"_s).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStoreFaults)
#include "tst_SettingsStoreFaults.moc"
