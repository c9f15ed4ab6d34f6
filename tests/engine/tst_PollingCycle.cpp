#include "engine/PollingCycle.h"

#include "FakeMessageBox.h"
#include "FakePollTimer.h"
#include "WatchedLogs.h"

#include "view/LogScrollView.h"
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString failureText(const QString &path)
{
    return u"ファイルの読み込みでエラーが発生しました ["_s % path % u"]\r\n処理を続行しますか？"_s;
}

struct Polling : WatchedLogs
{
    FakePollTimer timer;
    FakeMessageBox messages;
    int closeCalls = 0;
    PollingCycle cycle {table, appender, timer, messages, view, [this] { ++closeCalls; }};

    explicit Polling(const QStringList &names)
    {
        for (const QString &name : names)
            watch(name);
        timer.setEnabled(true);
    }
};

} // namespace

class TestPollingCycle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failingEntryBlocksTheOnesBehindIt()
    {
        Polling p({u"a"_s, u"b"_s, u"c"_s});
        QVERIFY(QFile::remove(p.pathOf(u"b"_s)));
        p.append(u"a"_s, "a1\r\n");
        p.append(u"c"_s, "c1\r\n");
        QVERIFY(p.timer.tick());
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"a1\r\n"_s);
        const QString failure = failureText(p.pathOf(u"b"_s));
        QCOMPARE(p.messages.texts, (QStringList {failure, failure}));
        QCOMPARE(p.messages.asked, (QList<bool> {true, true}));

        p.append(u"b"_s, "b1\r\n"); // the file is back
        QVERIFY(p.timer.tick());
        QCOMPARE(p.view.text(), u"a1\r\nb1\r\nc1\r\n"_s);
        QCOMPARE(p.messages.texts.size(), 2);
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
        Polling p({u"gone"_s});
        QVERIFY(QFile::remove(p.pathOf(u"gone"_s)));
        p.timer.setEnabled(enabledBefore);
        p.messages.answers = {answer};
        bool tickedWhileOpen = true;
        p.messages.onShow = [&](const QString &) { tickedWhileOpen = p.timer.tick(); };

        p.cycle.tmrCheck_Timer();
        QCOMPARE(p.messages.texts.size(), 1);
        QVERIFY(!tickedWhileOpen);
        QCOMPARE(p.timer.isEnabled(), enabledAfter);
        QCOMPARE(p.closeCalls, answer == MessageBox::Answer::Cancel ? 1 : 0);
    }

    // Pausing keeps the read positions; resuming puts the caret at the end and the next tick
    // brings the whole backlog in one insertion.
    void pauseAndResumeShowsTheBacklogInOnePiece()
    {
        Polling p({u"a"_s});
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
};

QTEST_MAIN(TestPollingCycle)
#include "tst_PollingCycle.moc"
