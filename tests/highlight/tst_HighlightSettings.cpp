#include "highlight/HighlightSettings.h"
#include "platform/IniSettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The rules as pivex.ini keeps them: what reads back, what is refused, and a save that
// shrinks the list.
class TestHighlightSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRuleLines_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("usable");
        QTest::newRow("line, case, both colours") << u"line,case,#9c0006,#ffc7ce,ERROR"_s << true;
        QTest::newRow("word, no text colour") << u"word,nocase,,#ffe599,タイムアウト"_s << true;
        QTest::newRow("commas and blanks in the word") << u"word,case,#000000,, a,b "_s << true;
        QTest::newRow("no colour at all") << u"word,case,,,x"_s << false;
        QTest::newRow("no word") << u"word,case,#000000,,"_s << false;
        QTest::newRow("unknown scope") << u"row,case,#000000,,x"_s << false;
        QTest::newRow("unknown case") << u"word,yes,#000000,,x"_s << false;
        QTest::newRow("colour by name") << u"word,case,red,,x"_s << false;
        QTest::newRow("short colour") << u"word,case,#fff,,x"_s << false;
        QTest::newRow("too few fields") << u"word,case,#000000"_s << false;
        QTest::newRow("empty") << QString() << false;
    }
    void readsRuleLines()
    {
        QFETCH(QString, value);
        QFETCH(bool, usable);
        const auto rule = HighlightSettings::parse(value);
        QCOMPARE(rule.has_value(), usable);
        if (rule)
            QCOMPARE(HighlightSettings::format(*rule), value);
    }

    void savedRulesLoadAndBrokenOnesAreReported()
    {
        QTemporaryDir dir;
        IniSettingsStore store(dir.path());
        HighlightSettings settings(store);
        QVERIFY(settings.load().rules.rules().empty()); // none at first
        const HighlightRules three(HighlightRules::withReadySet({}));
        QVERIFY(settings.save(three));
        QCOMPARE(settings.load().rules, three);

        // A shorter list leaves no rule of the longer one behind.
        const HighlightRules one({three.at(2)});
        QVERIFY(settings.save(one));
        QCOMPARE(settings.load().rules, one);
        QCOMPARE(store.read(u"PIVEX"_s, u"Highlight"_s, u"Rule2"_s, u"absent"_s), QString());

        // A broken line is left out and named; the others load.
        QVERIFY(settings.save(three));
        store.save(u"PIVEX"_s, u"Highlight"_s, u"Rule2"_s, u"word,case,#zzzzzz,,x"_s);
        const HighlightSettings::Loaded loaded = settings.load();
        QCOMPARE(loaded.brokenKeys, QStringList {u"Rule2"_s});
        QCOMPARE(loaded.rules.rules().size(), three.rules().size() - 1);
        QCOMPARE(loaded.rules.at(1), three.at(2));
        QCOMPARE(
            HighlightSettings::brokenRulesMessage(loaded.brokenKeys, u"/x/pivex.ini"_s),
            u"設定ファイルの値が正しくありません [/x/pivex.ini] Rule2\r\nRule2 は使わずに起動します"_s);

        store.save(u"PIVEX"_s, u"Highlight"_s, u"Count"_s, u"many"_s);
        QCOMPARE(settings.load().brokenKeys, QStringList {u"Count"_s});
        QVERIFY(settings.load().rules.rules().empty());
    }
};

QTEST_APPLESS_MAIN(TestHighlightSettings)
#include "tst_HighlightSettings.moc"
