#include "FakeFileWatch.h"
#include "PolledLogs.h"

#include "engine/WakeOnChange.h"
#include "platform/InotifyFileWatch.h"
#include "platform/QtTaskQueue.h"
#include "view/LogScrollView.h"

#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString kPolledOnly = u"[ポーリングのみ]  "_s;

QString shownEntry(const WatchedFileTable &table, int row)
{
    return table.data(table.index(row), Qt::DisplayRole).toString();
}

} // namespace

class TestWakeOnChange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Entries gain and lose their watches with the table, whoever edits it. One that cannot be
    // watched, or whose watch is lost, is marked in the list and polled all the same. Switched
    // off, nothing is watched or marked and notices do nothing.
    void watchesFollowTheTable()
    {
        PolledLogs p({u"a"_s});
        FakeFileWatch watch;
        WakeOnChange waking(p.table, watch, p.cycle);
        waking.setEnabled(true);
        QCOMPARE(watch.watched, (QMap<int, QString> {{0, p.pathOf(u"a"_s)}}));
        watch.refuse = true; // the system's limit reached
        p.watch(u"b"_s);
        QCOMPARE(shownEntry(p.table, 1), kPolledOnly + p.pathOf(u"b"_s));
        p.append(u"b"_s, "b1\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"b1\r\n"_s);

        watch.remove(0); // as when its folder is deleted
        watch.change(0);
        p.turns.runAll();
        QCOMPARE(shownEntry(p.table, 0), kPolledOnly + p.pathOf(u"a"_s));
        waking.setEnabled(false);
        QVERIFY(!p.table.polledOnly(0) && !p.table.polledOnly(1));
        p.append(u"a"_s, "a1\r\n");
        watch.change(0);
        QCOMPARE(p.turns.runAll(), 0);

        watch.refuse = false;
        waking.setEnabled(true);
        QCOMPARE(watch.watched.size(), 2);
        watch.change(0);
        QCOMPARE(p.turns.runAll(), 1);
        QCOMPARE(p.view.text(), u"b1\r\na1\r\n"_s);
        QVERIFY(p.table.removeAt(1) && p.table.removeAt(0));
        QVERIFY(watch.watched.isEmpty());
    }

    // The real watch and event loop: a burst of 10,000 small writes, a line in two pieces each,
    // shows every line once, in order, in few passes.
    void burstOfSmallWritesGivesFewPasses()
    {
        WatchedLogs logs;
        FakePollTimer timer; // never ticks: only changes read
        FakeMessageBox messages;
        QtTaskQueue turns;
        SteadyClock clock;
        PollingCycle cycle(logs.table, logs.appender, timer, messages, turns, clock, {});
        InotifyFileWatch watch;
        WakeOnChange waking(logs.table, watch, cycle);
        waking.setEnabled(true);
        logs.watch(u"burst.log"_s);
        QVERIFY(watch.isWatched(0));
        timer.setEnabled(true);
        int insertions = 0;
        connect(logs.view.widget(), &LogScrollView::contentsChanged, this,
                [&insertions] { ++insertions; });

        QString expected;
        for (int n = 0; n < 5000; ++n)
            expected += u"burst line "_s + QString::number(n) + u"\r\n"_s;
        // While the event loop runs: a short rest now and then spreads the burst over passes.
        std::thread writer([&logs] {
            for (int n = 0; n < 5000; ++n) {
                logs.append(u"burst.log"_s, "burst line " + QByteArray::number(n));
                logs.append(u"burst.log"_s, "\n");
                if (n % 100 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        QTRY_COMPARE(logs.view.text(), expected);
        writer.join();
        QVERIFY2(insertions < 50, qPrintable(QString::number(insertions)));
    }
};

QTEST_MAIN(TestWakeOnChange)
#include "tst_WakeOnChange.moc"
