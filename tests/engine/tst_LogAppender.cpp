#include "WatchedLogs.h"

#include "view/LogScrollView.h"
#include <QFileInfo>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString kLog = u"app.log"_s;
}

class TestLogAppender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textForView_data()
    {
        QTest::addColumn<QString>("newText");
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"abc\rde"_s << false << QString() << u"abc\r\nde"_s;
        QTest::newRow("grep pieces")
            << u"ok\rERR 1\r\rerr 2\r"_s << true << u"ERR"_s << u"ERR 1\r\n"_s;
        QTest::newRow("grep unfinished line")
            << u"a\rx ERR"_s << true << u"ERR"_s << u"x ERR\r\n"_s;
        QTest::newRow("grep full width") << u"ＥＲＲ\r"_s << true << u"ERR"_s << QString();
        QTest::newRow("grep empty keyword") << u"a\rb\r"_s << true << QString() << QString();
    }
    void textForView()
    {
        QFETCH(QString, newText);
        QFETCH(bool, grepMode);
        QFETCH(QString, keyword);
        QFETCH(QString, expected);
        QCOMPARE(LogAppender::textForView(newText, grepMode, keyword), expected);
    }

    // A line written in two parts joins in the view; in grep mode each part is tested on its
    // own, and what is filtered out is consumed for good.
    void lineSplitAcrossTwoReads_data()
    {
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << false << u"ERR first half\r\nERR 2\r\n"_s;
        QTest::newRow("grep") << true << u"ERR first\r\nERR 2\r\n"_s;
    }
    void lineSplitAcrossTwoReads()
    {
        QFETCH(bool, grepMode);
        QFETCH(QString, expected);
        WatchedLogs logs;
        logs.watch(kLog);
        logs.state.grepMode = grepMode;
        logs.state.GrepKeyword = u"ERR"_s;
        logs.append(kLog, "ERR first");
        QVERIFY(logs.appender.readLog2(0));
        logs.append(kLog, " half\r\nERR 2\r\n");
        QVERIFY(logs.appender.readLog2(0));
        logs.state.grepMode = false;
        QVERIFY(logs.appender.readLog2(0));
        QCOMPARE(logs.view.text(), expected);
        QCOMPARE(logs.position(0), QFileInfo(logs.pathOf(kLog)).size() + 1);
    }

    // Text that arrives drops the user's selection and goes to the end, which scrolls into
    // view, even when grep mode then shows none of it.
    void newTextDropsTheSelection_data()
    {
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<QString>("added");
        QTest::newRow("shown") << false << u"new\r\n"_s;
        QTest::newRow("filtered out") << true << QString();
    }
    void newTextDropsTheSelection()
    {
        QFETCH(bool, grepMode);
        QFETCH(QString, added);
        WatchedLogs logs;
        logs.watch(kLog);
        LogScrollView *edit = logs.view.widget();
        edit->resize(300, 200);
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        QString lines;
        for (int i = 0; i < 300; ++i)
            lines += QString::number(i) % u"\r\n"_s;
        logs.view.setText(lines);
        logs.view.select(4, 6);
        logs.state.grepMode = grepMode;

        QVERIFY(logs.appender.readLog2(0)); // nothing new: everything stays
        QCOMPARE(logs.view.selectionStart(), 4);
        QCOMPARE(logs.view.selectionLength(), 6);
        QCOMPARE(edit->verticalScrollBar()->value(), 0);

        logs.append(kLog, "new\r\n");
        QVERIFY(logs.appender.readLog2(0));
        QCOMPARE(logs.view.text(), lines + added);
        QCOMPARE(logs.view.caret(), logs.view.textLength());
        QCOMPARE(logs.view.selectionLength(), 0);
        QVERIFY(edit->viewport()->rect().contains(edit->caretRect()));
    }
};

QTEST_MAIN(TestLogAppender)
#include "tst_LogAppender.moc"
