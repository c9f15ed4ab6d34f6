#include "engine/WatchedFileTable.h"

#include <QTest>

class TestWatchedFileTable : public QObject
{
    Q_OBJECT

private:
    // Registers a path the way the file-list operations do: lowest free slot, position 1.
    static int add(WatchedFileTable &table, const QString &path)
    {
        const int slot = table.getIndex();
        const int position = table.append(path, slot);
        table.setFilePointer(slot, 1);
        return position;
    }
    static void remove(WatchedFileTable &table, int position)
    {
        table.setFilePointer(*table.itemData(position), 0);
        table.removeAt(position);
    }

private Q_SLOTS:
    void freedSlotIsReusedWhileListOrderIsKept()
    {
        WatchedFileTable table;
        add(table, QStringLiteral("a"));
        add(table, QStringLiteral("b"));
        add(table, QStringLiteral("c"));
        table.setFilePointerOfEntry(1, 50);
        table.setFilePointerOfEntry(2, 70);

        remove(table, 0);
        QCOMPARE(add(table, QStringLiteral("d")), 2);

        QCOMPARE(table.path(0), QStringLiteral("b"));
        QCOMPARE(table.itemData(0), 1);
        QCOMPARE(table.path(2), QStringLiteral("d"));
        QCOMPARE(table.itemData(2), 0);
        // Every entry still reaches its own read position through its slot.
        QCOMPARE(table.filePointerOfEntry(0), 50);
        QCOMPARE(table.filePointerOfEntry(1), 70);
        QCOMPARE(table.filePointerOfEntry(2), 1);
    }

    void samePathTwiceHasTwoSlots()
    {
        WatchedFileTable table;
        add(table, QStringLiteral("x.log"));
        add(table, QStringLiteral("x.log"));
        QCOMPARE(table.count(), 2);
        QCOMPARE_NE(table.itemData(0), table.itemData(1));
        table.setFilePointerOfEntry(0, 9);
        QCOMPARE(table.filePointerOfEntry(1), 1);
    }

    void elevenEntriesLeaveNoFreeSlot()
    {
        WatchedFileTable table;
        for (int i = 0; i < WatchedFileTable::kSlotCount; ++i) {
            QCOMPARE(table.getIndex(), i);
            add(table, QString::number(i));
        }
        QCOMPARE(table.getIndex(), -1);
        remove(table, 4);
        QCOMPARE(table.getIndex(), 4);
    }

    void slotOutsideRangeFailsWithoutTouchingMemory_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("-1") << -1;
        QTest::newRow("11") << 11;
        QTest::newRow("huge") << (1 << 30);
    }
    void slotOutsideRangeFailsWithoutTouchingMemory()
    {
        QFETCH(int, slot);
        WatchedFileTable table;
        table.append(QStringLiteral("bad"), slot);
        QVERIFY(!table.lngFilePointer(slot));
        QVERIFY(!table.setFilePointer(slot, 5));
        QVERIFY(!table.filePointerOfEntry(0));
        QVERIFY(!table.setFilePointerOfEntry(0, 5));
        QCOMPARE(table.getIndex(), 0); // no slot was taken
    }

    void modelShowsPathsAndSlots()
    {
        WatchedFileTable table;
        add(table, QStringLiteral("/var/log/a.log"));
        const QModelIndex first = table.index(0);
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.data(first, Qt::DisplayRole).toString(), QStringLiteral("/var/log/a.log"));
        QCOMPARE(table.data(first, WatchedFileTable::SlotRole).toInt(), 0);
    }
};

QTEST_APPLESS_MAIN(TestWatchedFileTable)
#include "tst_WatchedFileTable.moc"
