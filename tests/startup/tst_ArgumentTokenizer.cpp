#include "startup/ArgumentTokenizer.h"

#include <QTest>

class tst_ArgumentTokenizer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitsAtBlanks_data();
    void splitsAtBlanks();
    void longerOrEmptyDelimiter();
};

// Q stands for a double quote and | separates the expected tokens; an empty row is one empty
// token.
void tst_ArgumentTokenizer::splitsAtBlanks_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("tokens");

    const auto row = [](const char *source, const char *tokens) {
        QTest::newRow(source) << QString::fromUtf8(source) << QString::fromUtf8(tokens);
    };
    row("", "");
    row("a.log b.log", "a.log|b.log");
    row("a.log  b.log", "a.log||b.log");
    row(" a.log", "|a.log");
    row("a.log ", "a.log|");
    row(" ", "|");
    row("QC:\\My Logs\\a.logQ /v", "C:\\My Logs\\a.log|/v");
    row("x.log QMy Logs\\b.logQ", "x.log|My Logs\\b.log");
    row("QQ x.log", "|x.log");
    row("x QQ", "x|");
    row("abQc dQ", "abQc|dQ");
    row("QabQcd ef", "abQc|ef");
    row("QaQbQ c", "aQb|c");
    row("/w=Qa bQ", "/w=Qa|bQ");
    row("a.log\tb.log", "a.log\tb.log");
    row("Qa b cQ Qd eQ f", "a b c|d e|f");
    row("ログ.log Q日本 語Q", "ログ.log|日本 語");
    // A quote that is never closed takes the rest of the text without its opening quote.
    row("Q", "");
    row("Qabc def", "abc def");
    row("Q a", " a");
    row("a Qbc de", "a|bc de");
    row("a Q", "a|");
    row("QaQ Qb c", "a|b c");
}

void tst_ArgumentTokenizer::splitsAtBlanks()
{
    QFETCH(QString, source);
    QFETCH(QString, tokens);
    source.replace(QLatin1Char('Q'), QLatin1Char('"'));
    tokens.replace(QLatin1Char('Q'), QLatin1Char('"'));
    QCOMPARE(Module1::splitQuoted(source, QStringLiteral(" ")).join(QLatin1Char('|')), tokens);
    QCOMPARE(Module1::splitQuoted(source, QStringLiteral(" ")).size(), tokens.count(u'|') + 1);
}

void tst_ArgumentTokenizer::longerOrEmptyDelimiter()
{
    const auto split = [](const char *source, const char *delimiter) {
        return Module1::splitQuoted(QString::fromUtf8(source), QString::fromUtf8(delimiter))
            .join(QLatin1Char('|'));
    };
    QCOMPARE(split("a, b,,c, ", ", "), QStringLiteral("a|b,,c|"));
    QCOMPARE(split("\"a, b\", c", ", "), QStringLiteral("a, b|c"));
    // Nothing to cut at: the text comes back whole instead of the search never moving on.
    QCOMPARE(split("a b", ""), QStringLiteral("a b"));
}

QTEST_APPLESS_MAIN(tst_ArgumentTokenizer)
#include "tst_ArgumentTokenizer.moc"
