#include "WatchedLogs.h"

#include "view/LogScrollView.h"
#include "view/store/UnitCoding.h"

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
    // Lines are tested whole, exactly, unit by unit, on the store's bytes.
    void grepLines_data()
    {
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pieces") << u"ok\rERR 1\r\rerr 2\r"_s << u"ERR"_s << u"ERR 1\r\n"_s;
        QTest::newRow("unfinished line") << u"a\rx ERR"_s << u"ERR"_s << u"x ERR\r\n"_s;
        QTest::newRow("two hits, first and last line")
            << u"ERR x ERR\rok\rERR"_s << u"ERR"_s << u"ERR x ERR\r\nERR\r\n"_s;
        QTest::newRow("full width") << u"ＥＲＲ\r"_s << u"ERR"_s << QString();
        QTest::newRow("Japanese") << u"正常\rエラー発生\r"_s << u"エラー"_s << u"エラー発生\r\n"_s;
        QTest::newRow("beyond U+FFFF") << u"a😀b\r😁\r"_s << u"😀"_s << u"a😀b\r\n"_s;
        QTest::newRow("empty keyword") << u"a\rb\r"_s << QString() << QString();
        QTest::newRow("keyword across a line end") << u"a\rb\r"_s << u"a\rb"_s << QString();
    }
    void grepLines()
    {
        QFETCH(QString, newText);
        QFETCH(QString, keyword);
        QByteArray out;
        LogAppender::grepLines(UnitCoding::encoded(newText), UnitCoding::encoded(keyword), out);
        QString shown;
        UnitCoding::decodeAppend(out, shown);
        QTEST(shown, "expected");
    }

    // A line written in two parts waits for its end and shows whole, in grep mode too; what
    // grep mode filters out is consumed for good.
    void lineSplitAcrossTwoReads_data()
    {
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << false << u"ERR first half\r\nok\r\nERR 2\r\n"_s;
        QTest::newRow("grep") << true << u"ERR first half\r\nERR 2\r\n"_s;
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
        QCOMPARE(logs.view.text(), QString());
        logs.append(kLog, " half\r\nok\r\nERR 2\r\n");
        QVERIFY(logs.appender.readLog2(0));
        logs.state.grepMode = false;
        QVERIFY(logs.appender.readLog2(0));
        QCOMPARE(logs.view.text(), expected);
        QCOMPARE(logs.position(0), QFileInfo(logs.pathOf(kLog)).size() + 1);
    }

    // A line shown before its end (slot 0, "abc") stays open while nothing else is shown, so
    // its rest continues it; text of another file first ends it, and then a rest that is only
    // the line end shows nothing. Rows: what arrives, as slot:text, "+" marking a continuation.
    // Each line is marked with the file that began it: origins lists them line by line.
    void unfinishedLineAndTheFilesAroundIt_data()
    {
        QTest::addColumn<QStringList>("arrivals");
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("origins");
        QTest::newRow("rest continues it") << QStringList {u"0:abc"_s, u"0+def\rg\r"_s} << false
                                           << u"abcdef\r\ng\r\n"_s << u"11"_s;
        QTest::newRow("another file ends it") << QStringList {u"0:abc"_s, u"1:x\r"_s, u"0+def\r"_s}
                                              << false << u"abc\r\nx\r\ndef\r\n"_s << u"121"_s;
        QTest::newRow("line end alone after another file")
            << QStringList {u"0:abc"_s, u"1:x\r"_s, u"0+\rg\r"_s} << false << u"abc\r\nx\r\ng\r\n"_s
            << u"121"_s;
        QTest::newRow("continued while another file waits")
            << QStringList {u"0:abc"_s, u"0+def"_s, u"0+ghi\rj\r"_s, u"1:x\ry\r"_s} << false
            << u"abcdefghi\r\nj\r\nx\r\ny\r\n"_s << u"1122"_s;
        QTest::newRow("fresh start of the same slot")
            << QStringList {u"0:abc"_s, u"0:new\r"_s} << false << u"abc\r\nnew\r\n"_s << u"11"_s;
        QTest::newRow("grep closes every line")
            << QStringList {u"0:ERR abc"_s, u"0+ ERR def\r"_s, u"0+\r"_s} << true
            << u"ERR abc\r\n ERR def\r\n"_s << u"11"_s;
    }
    void unfinishedLineAndTheFilesAroundIt()
    {
        QFETCH(QStringList, arrivals);
        QFETCH(bool, grepMode);
        QFETCH(QString, expected);
        QFETCH(QString, origins);
        WatchedLogs logs;
        logs.table.append(u"a.log"_s, 0);
        logs.table.append(u"b.log"_s, 1);
        logs.state.grepMode = grepMode;
        logs.state.GrepKeyword = u"ERR"_s;
        for (const QString &arrival : arrivals)
            logs.appender.show(arrival.at(0).digitValue(), UnitCoding::encoded(arrival.mid(2)),
                               arrival.at(1) == u'+');
        QCOMPARE(logs.view.text(), expected);
        QString marked;
        for (qsizetype line = 0; line < origins.size(); ++line)
            marked += QString::number(logs.view.store().originOf(LineNo(line)));
        QCOMPARE(marked, origins);
    }

    // Text that arrives drops the user's selection and goes to the end, which scrolls into
    // view, even when grep mode then shows none of it; with following off, the text goes to
    // the end and the user's selection and scroll position stay.
    void newTextDropsTheSelection_data()
    {
        QTest::addColumn<bool>("grepMode");
        QTest::addColumn<bool>("following");
        QTest::addColumn<QString>("added");
        QTest::newRow("shown") << false << true << u"new\r\n"_s;
        QTest::newRow("filtered out") << true << true << QString();
        QTest::newRow("not following") << false << false << u"new\r\n"_s;
    }
    void newTextDropsTheSelection()
    {
        QFETCH(bool, grepMode);
        QFETCH(bool, following);
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
        logs.state.following = following;

        QVERIFY(logs.appender.readLog2(0)); // nothing new: everything stays
        QCOMPARE(logs.view.selectionStart(), 4);
        QCOMPARE(logs.view.selectionLength(), 6);
        QCOMPARE(edit->verticalScrollBar()->value(), 0);

        const int barEnd = edit->verticalScrollBar()->maximum();
        logs.append(kLog, "new\r\n");
        QVERIFY(logs.appender.readLog2(0));
        QCOMPARE(logs.view.text(), lines + added);
        if (!following) {
            QCOMPARE(logs.view.selectionStart(), 4);
            QCOMPARE(logs.view.selectionLength(), 6);
            QCOMPARE(edit->verticalScrollBar()->value(), 0);
            QCOMPARE(edit->verticalScrollBar()->maximum(),
                     barEnd + 1); // the bar reaches the new line
            return;
        }
        QCOMPARE(logs.view.caret(), logs.view.textLength());
        QCOMPARE(logs.view.selectionLength(), 0);
        QVERIFY(edit->viewport()->rect().contains(edit->caretRect()));
    }
};

QTEST_MAIN(TestLogAppender)
#include "tst_LogAppender.moc"
