#include "files/FileListOperations.h"

#include "FakeFileOpenDialog.h"
#include "FakeMessageBox.h"
#include "WatchedLogs.h"

#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

struct Files : WatchedLogs
{
    FakeFileOpenDialog dialog;
    FakeMessageBox messages;
    FileListOperations ops {table, reader, dialog, messages};

    QList<int> slots() const
    {
        QList<int> result;
        for (int i = 0; i < table.count(); ++i)
            result.append(*table.itemData(i));
        return result;
    }
};

} // namespace

class TestFileListOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A freed slot is the next one taken, while the new entry goes to the end of the list.
    void freedSlotIsReusedAtTheEndOfTheList_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QList<int>>("slotsAfterAdd");
        QTest::newRow("first of three") << 3 << 0 << QList<int> {1, 2, 0};
        QTest::newRow("second of four") << 4 << 1 << QList<int> {0, 2, 3, 1};
    }
    void freedSlotIsReusedAtTheEndOfTheList()
    {
        QFETCH(int, entries);
        QFETCH(int, removed);
        QFETCH(QList<int>, slotsAfterAdd);
        Files f;
        for (int i = 0; i < entries; ++i)
            QCOMPARE(f.ops.addFile(QString::number(i)), i);
        QVERIFY(f.ops.removeFile(removed));
        QCOMPARE(f.ops.addFile(u"new"_s), entries - 1);
        QCOMPARE(f.slots(), slotsAfterAdd);
        QCOMPARE(f.table.path(entries - 1), u"new"_s);
        QCOMPARE(f.position(entries - 1), 1);
    }

    // With all eleven slots taken nothing is added, and the add button says so before the
    // user is sent through the file dialog.
    void noFreeSlotIsRefusedWithAMessage()
    {
        Files f;
        for (int i = 0; i < WatchedFileTable::kSlotCount; ++i)
            QVERIFY(f.ops.addFile(QString::number(i)));
        QCOMPARE(f.ops.addFile(u"twelfth"_s), std::nullopt);
        f.dialog.answers = {u"/tmp"_s};
        QCOMPARE(f.ops.addChosenFile(), std::nullopt);
        QCOMPARE(f.dialog.calls, 0);
        QCOMPARE(f.messages.texts, QStringList {FileListOperations::noFreeSlotMessage()});
        QCOMPARE(f.table.count(), WatchedFileTable::kSlotCount);
    }

    // A chosen file that cannot be opened is reported and its entry taken out again.
    void unopenableChosenFileIsRemovedAgain_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("missing") << false;
        QTest::newRow("fifo") << true;
    }
    void unopenableChosenFileIsRemovedAgain()
    {
        QFETCH(bool, fifo);
        Files f;
        f.watch(u"first"_s);
        const QString path = f.pathOf(u"chosen"_s);
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        f.dialog.answers = {path};
        QCOMPARE(f.ops.addChosenFile(), std::nullopt);
        QCOMPARE(f.dialog.lastTitle, u"監視するファイルの指定"_s);
        QCOMPARE(f.table.count(), 1);
        QCOMPARE(f.ops.getIndex(), 1);
        QCOMPARE(f.messages.texts, QStringList {FileListOperations::cannotOpenMessage(path)});

        f.append(u"chosen2"_s, "old");
        f.dialog.answers = {f.pathOf(u"chosen2"_s)};
        QCOMPARE(f.ops.addChosenFile(), 1);
        QCOMPARE(f.position(1), 4);
    }
};

QTEST_MAIN(TestFileListOperations)
#include "tst_FileListOperations.moc"
