#include "highlight/HighlightRules.h"
#include "highlight/ReadableColours.h"
#include "view/LineStyler.h"
#include "view/store/LogStore.h"
#include "view/store/TextSearch.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

HighlightRule rule(const QString &word, bool matchCase, bool wholeLine, QColor background)
{
    return {word, matchCase, wholeLine, QColor(), background};
}

// The first rule, in order, whose word is anywhere in the line: the plain reading of the rule.
int plainFirstMatch(const std::vector<HighlightRule> &rules, const QString &line)
{
    for (size_t r = 0; r < rules.size(); ++r) {
        const auto cs = rules[r].matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (TextSearch::findForward(line, rules[r].word, 0, cs))
            return int(r);
    }
    return -1;
}

} // namespace

// Which rule colours what: matching as find does, the first rule deciding each unit, colours
// kept readable on every ground.
class TestHighlightRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // All rules in one pass must find what each rule's own search finds, folding included.
    void matcherAgreesWithEachRulesSearch()
    {
        const QString alphabet = u"aAeEkKrRsSΣσｅＥ\u212A\u017F亜ア \t"_s;
        QRandomGenerator random(7);
        const auto pick = [&](int length) {
            QString s;
            for (int i = 0; i < length; ++i)
                s += alphabet.at(random.bounded(int(alphabet.size())));
            return s;
        };
        for (int round = 0; round < 500; ++round) {
            std::vector<HighlightRule> rules;
            for (int r = random.bounded(1, 8); r > 0; --r)
                rules.push_back(
                    rule(pick(random.bounded(1, 4)), random.bounded(2) == 0, false, Qt::yellow));
            const HighlightRules set(rules);
            const QString line = pick(random.bounded(0, 30));
            QCOMPARE(set.match(line), plainFirstMatch(rules, line));
        }
    }

    // Each unit of a line in sight takes the colours of the first rule covering it; "-" is no
    // rule, digits are rule numbers, "F" the find word.
    void firstRuleDecidesEachUnit_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("findWord");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a word only") << u"xx warn yy"_s << QString() << u"---1111---"_s;
        QTest::newRow("a whole line") << u"an ERROR here"_s << QString() << u"0000000000000"_s;
        QTest::newRow("a whole line over a later word")
            << u"warn ERROR"_s << QString() << u"0000000000"_s;
        QTest::newRow("an earlier word over a later line")
            << u"Disk FULL"_s << QString() << u"222244444"_s;
        QTest::newRow("overlapping words, the earlier rule first")
            << u"warning"_s << QString() << u"1111333"_s;
        QTest::newRow("case: the rule that matches case")
            << u"error Error"_s << QString() << u"-----------"_s;
        QTest::newRow("the find word over every rule")
            << u"an ERROR x"_s << u"ror"_s << u"00000FFF00"_s;
        QTest::newRow("overlapping find matches") << u"aaaa"_s << u"aa"_s << u"FFFF"_s;
    }
    void firstRuleDecidesEachUnit()
    {
        QFETCH(QString, line);
        QFETCH(QString, findWord);
        QFETCH(QString, expected);
        // 0 ERROR whole line, 1 warn word, 2 disk word, 3 ning word, 4 FULL whole line.
        const QList<QColor> grounds {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::magenta};
        LineStyler styler;
        styler.setRules(HighlightRules(
            {rule(u"ERROR"_s, true, true, grounds[0]), rule(u"warn"_s, false, false, grounds[1]),
             rule(u"disk"_s, false, false, grounds[2]), rule(u"ning"_s, false, false, grounds[3]),
             rule(u"FULL"_s, true, true, grounds[4])}));
        styler.setFindWord(findWord, Qt::CaseInsensitive);
        LogStore store(16); // block edges inside the words
        store.append(QString(u"before\r\n"_s + line + u"\r\nafter"_s));
        ViewLayout::Segment segment {StoreOffset(8), 0, line, StoreOffset(8 + line.size())};
        const LineStyler::LineLook look = styler.look(store, LineNo(1), segment);

        QString shown(line.size(), u'-');
        for (const LineStyler::Run &run : look.runs) {
            for (qint64 at = run.start; at < run.end; ++at) {
                shown[at - 8] = run.background == LineStyler::findBackground()
                    ? u'F'
                    : QChar(char16_t(u'0' + grounds.indexOf(run.background)));
            }
        }
        QCOMPARE(shown, expected);
        QCOMPARE(look.lineBackground.isValid(), expected.contains(u'0') || expected.contains(u'4'));
    }

    // A long line's whole-line rule is kept by its offset; a cleared view reuses the offsets,
    // and a new long line there must be matched afresh.
    void longLineRuleForgottenWhenTextReplaced()
    {
        LineStyler styler;
        styler.setRules(HighlightRules({rule(u"ERROR"_s, true, true, Qt::red)}));
        const QString filler(LineStyler::kWholeLine + 10, u'x');
        const auto lookAtFirstLine = [&](const LogStore &store, const QString &line) {
            ViewLayout::Segment segment {StoreOffset(0), 0, line.left(80),
                                         StoreOffset(line.size())};
            return styler.look(store, LineNo(0), segment);
        };
        LogStore store(4096);
        store.append(QString(filler + u"ERROR\r\n"_s));
        QVERIFY(lookAtFirstLine(store, filler + u"ERROR"_s).lineBackground.isValid());
        store.clear();
        styler.textReplaced();
        store.append(QString(filler + u"fine\r\n"_s));
        QVERIFY(!lookAtFirstLine(store, filler + u"fine"_s).lineBackground.isValid());
    }

    // Text colours are moved until they read on the ground, and left alone where they do.
    void coloursStayReadable_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("ground");
        QTest::addColumn<bool>("unchanged");
        const QColor white(255, 255, 255), black(0, 0, 0), dosGrey(128, 128, 128);
        QTest::newRow("dark red on white") << QColor(0x9c, 0, 6) << white << true;
        QTest::newRow("dark red on DOS black") << QColor(0x9c, 0, 6) << black << false;
        QTest::newRow("amber on white") << QColor(0xff, 0xbf, 0) << white << false;
        QTest::newRow("DOS grey on a light ground") << dosGrey << QColor(0xff, 0xe5, 0x99) << false;
        QTest::newRow("blue on mid grey") << QColor(0, 0, 255) << dosGrey << false;
        QTest::newRow("white on black") << white << black << true;
    }
    void coloursStayReadable()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, ground);
        QFETCH(bool, unchanged);
        const QColor shown = ReadableColours::textOn(text, ground);
        QVERIFY(ReadableColours::contrast(shown, ground) >= ReadableColours::kMinContrast);
        QCOMPARE(shown == text, unchanged);
    }
};

QTEST_APPLESS_MAIN(TestHighlightRules)
#include "tst_HighlightRules.moc"
