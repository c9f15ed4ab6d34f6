#include "FakeTaskQueue.h"
#include "platform/CacheSpillFile.h"
#include "view/OverviewScanner.h"
#include "view/store/LogStore.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const HighlightRules kRules({{u"ERROR"_s, true, true, QColor(), Qt::red},
                             {u"タイムアウト"_s, false, false, QColor(), Qt::yellow},
                             {u"warn"_s, false, false, QColor(), Qt::green}});
const QString kFind = u"rr"_s;

// What the marks must say for a text: per line, the first rule that matches it, and whether
// the find word is in it.
struct Expected
{
    QList<int> rules;
    QList<bool> finds;
    qint64 count = 0;
};
Expected expectedFor(const QString &text)
{
    Expected expected;
    for (const QString &line : text.split(u"\r\n"_s)) {
        expected.rules << kRules.match(line);
        expected.finds << line.contains(kFind, Qt::CaseInsensitive);
    }
    expected.count = text.count(kFind, Qt::CaseInsensitive);
    return expected;
}

// One row a line: a strip as tall as the log is long.
Expected marksOf(const OverviewScanner &scanner, qint64 lines, qint64 count)
{
    Expected marked;
    for (const OverviewMarks::Row &row : scanner.marks().rows(lines, int(lines))) {
        marked.rules << row.rule;
        marked.finds << (row.findLine >= 0);
    }
    marked.count = count;
    return marked;
}

QString randomText(QRandomGenerator &random, int pieces)
{
    const QStringList parts {u"ERR"_s, u"OR"_s, u"\r\n"_s, u"タイム"_s, u"アウト"_s, u"Wa"_s,
                             u"rn "_s, u"x"_s,  u"\r"_s,   u"\n"_s,     u"ERROR"_s,  u"ｒＲ"_s};
    QString text;
    for (int k = 0; k < pieces; ++k)
        text += parts.at(random.bounded(int(parts.size())));
    return text;
}

} // namespace

// The overview's marks follow the text as it comes, a piece at a time, whatever the blocks,
// and stay right across a clear and the spill file.
class TestOverviewScanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marksFollowTheText_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::addColumn<bool>("spill");
        for (const int blockBytes : {16, 61, 4096}) {
            QTest::addRow("%d bytes", blockBytes) << blockBytes << false;
            QTest::addRow("%d bytes, spilled", blockBytes) << blockBytes << true;
        }
    }
    void marksFollowTheText()
    {
        QFETCH(int, blockBytes);
        QFETCH(bool, spill);
        LogStore store(blockBytes, nullptr,
                       spill ? std::make_unique<CacheSpillFile>() : std::unique_ptr<SpillFile>());
        FakeTaskQueue turns;
        OverviewScanner scanner(store, turns);
        scanner.setRules(kRules);
        qint64 count = -1;
        scanner.setFindWord(kFind, Qt::CaseInsensitive, [&](qint64 n, bool) { count = n; });
        QRandomGenerator random {quint32(blockBytes)};

        // Reads of a few pieces each: words and lines run on from one read into the next.
        QString all;
        for (int read = 0; read < 60; ++read) {
            const QString text = randomText(random, random.bounded(1, 6));
            store.append(text);
            scanner.storeGrew();
            turns.runAll();
            all += text;
        }
        QString normalized = all;
        normalized.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\r\n"_s);
        QCOMPARE(marksOf(scanner, store.lineCount(), count).rules, expectedFor(normalized).rules);
        QCOMPARE(marksOf(scanner, store.lineCount(), count).finds, expectedFor(normalized).finds);
        QCOMPARE(count, expectedFor(normalized).count);

        // New rules are marked over again, from the frames in the spill file too.
        scanner.setRules(HighlightRules({kRules.at(2)}));
        turns.runAll();
        for (const OverviewMarks::Row &row :
             scanner.marks().rows(store.lineCount(), int(store.lineCount())))
            QVERIFY(row.rule == 0 || row.rule == -1);

        // A clear starts over: only what comes after it is marked.
        store.clear();
        scanner.storeCleared();
        scanner.setRules(kRules);
        store.append(u"ok\r\nan ERROR\r\nrr"_s);
        scanner.storeGrew();
        turns.runAll();
        QCOMPARE(marksOf(scanner, 3, count).rules, (QList<int> {-1, 0, -1}));
        QCOMPARE(marksOf(scanner, 3, count).finds, (QList<bool> {false, true, true}));
        QCOMPARE(count, 2);
    }

    // Ten million lines and more in a few thousand bins: each mark lands in the row of its
    // line, the lowest rule wins a row, and a click on a row names the first marked line.
    void binsKeepLongLogsInRows()
    {
        OverviewMarks marks;
        const qint64 lines = 10'000'000;
        marks.markRule(LineNo(5), 2);
        marks.markRule(LineNo(6), 1);
        marks.markFind(LineNo(4'999'999));
        marks.markRule(LineNo(lines - 1), 0);
        const std::vector<OverviewMarks::Row> rows = marks.rows(lines, 1000);
        QCOMPARE(rows[0].rule, 1);
        QCOMPARE(rows[0].ruleLine, 6);
        QCOMPARE(rows[499].findLine, 4'999'999);
        QCOMPARE(rows[999].rule, 0);
        QCOMPARE(
            std::count_if(rows.begin(), rows.end(), [](const auto &r) { return r.isMarked(); }), 3);
        QCOMPARE(OverviewMarks::rowOf(OverviewMarks::lineOfRow(731, lines, 1000), lines, 1000),
                 731);
        marks.clearFinds();
        QCOMPARE(marks.rows(lines, 1000)[499].findLine, -1);
    }
};

QTEST_APPLESS_MAIN(TestOverviewScanner)
#include "tst_OverviewScanner.moc"
