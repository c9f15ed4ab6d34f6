#include "PolledLogs.h"

#include "view/LogScrollView.h"
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPollingCycle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A file that cannot be read is asked about once and blocks nothing: the files behind it
    // are read on every tick, and it is asked about again only after it was read once more.
    void failingEntryIsAskedAboutOnceAndBlocksNothing()
    {
        PolledLogs p({u"a"_s, u"b"_s, u"c"_s});
        const QString b = p.pathOf(u"b"_s);
        const QString failure = PolledLogs::failureText(b);
        QVERIFY(QFile::rename(b, b + u".1"_s));
        p.append(u"a"_s, "a1\r\n");
        p.append(u"c"_s, "c1\r\n");
        QVERIFY(p.timer.tick());
        p.append(u"c"_s, "c2\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"a1\r\nc1\r\nc2\r\n"_s);
        QCOMPARE(p.messages.texts, QStringList {failure});

        QVERIFY(QFile::rename(b + u".1"_s, b)); // the file is back
        p.append(u"b"_s, "b1\r\n");
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"a1\r\nc1\r\nc2\r\nb1\r\n"_s);
        QVERIFY(QFile::remove(b));
        QVERIFY(p.timer.tick());
        QVERIFY(p.timer.tick());
        QCOMPARE(p.messages.texts, (QStringList {failure, failure}));
        QCOMPARE(p.closeCalls, 0);
    }

    // No tick can stack a second box while the question is open; afterwards the timer runs
    // again only if it ran before. キャンセル closes the window instead.
    void timerIsHeldWhileTheMessageIsOpen_data()
    {
        QTest::addColumn<bool>("enabledBefore");
        QTest::addColumn<MessageBox::Answer>("answer");
        QTest::addColumn<bool>("enabledAfter");
        QTest::newRow("OK") << true << MessageBox::Answer::Ok << true;
        QTest::newRow("OK, tick while paused") << false << MessageBox::Answer::Ok << false;
        QTest::newRow("キャンセル") << true << MessageBox::Answer::Cancel << false;
    }
    void timerIsHeldWhileTheMessageIsOpen()
    {
        QFETCH(bool, enabledBefore);
        QFETCH(MessageBox::Answer, answer);
        QFETCH(bool, enabledAfter);
        PolledLogs p({u"gone"_s, u"after"_s});
        QVERIFY(QFile::remove(p.pathOf(u"gone"_s)));
        p.append(u"after"_s, "after\r\n");
        p.timer.setEnabled(enabledBefore);
        p.messages.answers = {answer};
        bool tickedWhileOpen = true;
        p.messages.onShow = [&](const QString &) { tickedWhileOpen = p.timer.tick(); };

        p.cycle.tmrCheck_Timer();
        QCOMPARE(p.messages.texts.size(), 1);
        QVERIFY(!tickedWhileOpen);
        QCOMPARE(p.timer.isEnabled(), enabledAfter);
        const bool cancelled = answer == MessageBox::Answer::Cancel;
        QCOMPARE(p.closeCalls, cancelled ? 1 : 0);
        QCOMPARE(p.view.text(), cancelled ? QString() : u"after\r\n"_s);
    }

    // Pausing keeps the read positions; resuming puts the caret at the end and the next tick
    // brings the whole backlog in one insertion.
    void pauseAndResumeShowsTheBacklogInOnePiece()
    {
        PolledLogs p({u"a"_s});
        p.view.setText(u"earlier\r\n"_s);
        p.cycle.mnuEnable_Click();
        QVERIFY(!p.cycle.isMonitoringChecked());
        p.append(u"a"_s, "1\r\n2\r\n3\r\n");
        QVERIFY(!p.timer.tick());
        p.view.setCaret(0);

        p.cycle.mnuEnable_Click();
        QVERIFY(p.cycle.isMonitoringChecked());
        QCOMPARE(p.view.caret(), p.view.textLength());
        int insertions = 0;
        connect(p.view.widget(), &LogScrollView::contentsChanged, this,
                [&insertions] { ++insertions; });
        QVERIFY(p.timer.tick());
        QCOMPARE(insertions, 1);
        QCOMPARE(p.view.text(), u"earlier\r\n1\r\n2\r\n3\r\n"_s);
    }

    // A big append is read chunk by chunk and the pass goes on in later turns of the event
    // loop once its turn is used up; ticks meanwhile change nothing, the files keep their
    // order, and pausing drops the rest of the pass without losing anything.
    void longPassGoesOnInLaterTurns()
    {
        PolledLogs p({u"big"_s, u"small"_s}, {64, 32, 1000});
        p.clock.stepMs = PollingCycle::kTurnBudgetMs; // every chunk uses up a turn
        QString lines;
        for (int i = 0; i < 40; ++i) {
            const QByteArray line = "line " + QByteArray::number(i) + " of the big file\r\n";
            p.append(u"big"_s, line);
            lines += QString::fromLatin1(line);
        }
        p.append(u"small"_s, "small\r\n");

        QVERIFY(p.timer.tick());
        const QString firstTurn = p.view.text();
        QVERIFY(!firstTurn.isEmpty() && lines.startsWith(firstTurn));
        QCOMPARE(p.turns.tasks.size(), size_t(1));
        QVERIFY(p.timer.tick()); // absorbed by the pass
        QCOMPARE(p.view.text(), firstTurn);

        p.cycle.mnuEnable_Click(); // pause
        QCOMPARE(p.turns.runAll(), 1);
        QCOMPARE(p.view.text(), firstTurn);
        p.cycle.mnuEnable_Click();
        QVERIFY(p.timer.tick());
        QVERIFY(p.turns.runAll() > 10);
        QCOMPARE(p.view.text(), lines + u"small\r\n"_s);
    }

    // Notices wake a pass over the woken entries alone, in a later turn; notices before it runs
    // go with it. Paused, they do nothing.
    void noticesWakeAPassOverTheWokenEntries()
    {
        PolledLogs p({u"a"_s, u"b"_s});
        p.append(u"a"_s, "a1\r\n");
        p.append(u"b"_s, "b1\r\n");
        p.cycle.wake(0);
        p.cycle.wake(0);
        QCOMPARE(p.turns.runAll(), 1);
        QCOMPARE(p.view.text(), u"a1\r\n"_s);
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"a1\r\nb1\r\n"_s);

        p.cycle.mnuEnable_Click();
        p.append(u"a"_s, "a2\r\n");
        p.cycle.wake(0);
        QCOMPARE(p.turns.runAll(), 0);
        QCOMPARE(p.view.text(), u"a1\r\nb1\r\n"_s);
    }

    // A woken pass asks nothing (a rotation may be caught between its rename and its new
    // file); the tick asks, once, and a tick that came during a woken pass runs after it.
    void onlyTicksAskAboutFailures()
    {
        PolledLogs p({u"gone"_s, u"big"_s, u"after"_s}, {64, 32, 1000});
        QVERIFY(QFile::remove(p.pathOf(u"gone"_s)));
        p.append(u"big"_s, QByteArray("a line of the big file\r\n").repeated(20));
        p.append(u"after"_s, "after\r\n");
        p.clock.stepMs = PollingCycle::kTurnBudgetMs; // every chunk uses up a turn
        p.cycle.wake(0);
        p.cycle.wake(1);
        p.turns.tasks.front()(); // the woken pass begins and stops after its first chunk
        p.turns.tasks.pop_front();
        QVERIFY(p.timer.tick());
        p.turns.runAll();
        QCOMPARE(p.messages.texts, QStringList {PolledLogs::failureText(p.pathOf(u"gone"_s))});
        QVERIFY(p.view.text().endsWith(u"after\r\n"_s));
        p.cycle.wake(0);
        p.turns.runAll();
        QVERIFY(p.timer.tick());
        QCOMPARE(p.messages.texts.size(), 1);
    }

    // How long a woken pass waits: not at all after a calm, until kWakeGapMs after the last
    // woken pass, and kStreamGapMs once notices come as a stream, also when they then come
    // one a gap; after a quiet second, not at all again.
    void wokenPassesAreSpaced()
    {
        PolledLogs p({u"a"_s});
        const auto notice = [&p](qint64 after) {
            p.clock.now += after;
            p.cycle.wake(0);
            p.turns.runAll();
            return p.turns.delays.back();
        };
        QCOMPARE(notice(0), 0);
        QCOMPARE(notice(3), PollingCycle::kWakeGapMs - 3);
        QCOMPARE(notice(PollingCycle::kWakeGapMs), 0);
        for (int i = 3; i < PollingCycle::kStreamNotices; ++i)
            notice(PollingCycle::kWakeGapMs);
        QCOMPARE(notice(PollingCycle::kWakeGapMs),
                 PollingCycle::kStreamGapMs - PollingCycle::kWakeGapMs);
        for (int i = 0; i < 3 * PollingCycle::kStreamNotices; ++i)
            QCOMPARE(notice(PollingCycle::kStreamGapMs), 0); // one notice a gap, still a stream
        QCOMPARE(notice(PollingCycle::kWakeGapMs),
                 PollingCycle::kStreamGapMs - PollingCycle::kWakeGapMs);
        QCOMPARE(notice(1000), 0);
    }
};

QTEST_MAIN(TestPollingCycle)
#include "tst_PollingCycle.moc"
