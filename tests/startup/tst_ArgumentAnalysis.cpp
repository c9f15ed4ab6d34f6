#include "startup/ArgumentAnalysis.h"
#include "startup/ArgumentTarget.h"
#include "settings/WholeNumber.h"

#include <QTest>

namespace {

// Writes every call down, so one row can state all the analysis did, in order.
class LoggingTarget : public ArgumentTarget
{
public:
    void setWindowTitle(const QString &title) override { log << QStringLiteral("w=") + title; }
    void setViewMode(bool on) override { log << QStringLiteral("v=%1").arg(on); }
    void setGrepMode(bool on) override { log << QStringLiteral("g=%1").arg(on); }
    void setInterval(int ms) override { log << QStringLiteral("i=%1").arg(ms); }
    void setGrepKeyword(const QString &keyword) override { log << QStringLiteral("k=") + keyword; }
    void setCharacterSet(qint32 value) override { log << QStringLiteral("c=%1").arg(value); }
    int fileCount() const override { return files; }
    void addFile(const QString &fileName) override
    {
        ++files;
        log << QStringLiteral("+") + fileName;
    }

    int files = 0;
    QStringList log;
};

} // namespace

class tst_ArgumentAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeNumber_data();
    void wholeNumber();
    void analyze_data();
    void analyze();
    void registersAtMostTenFiles();
};

void tst_ArgumentAnalysis::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("result"); // empty when the text is refused

    const auto row = [](const char *text, int maximum, const char *result) {
        QTest::newRow(text) << QString::fromUtf8(text) << maximum << QString::fromUtf8(result);
    };
    const int int32Max = std::numeric_limits<qint32>::max();
    row("10.5", int32Max, "10");
    row("11.5", int32Max, "12");
    row("-2.5", int32Max, "-2");
    row(" \t+42 ", int32Max, "42");
    row("2147483647", int32Max, "2147483647");
    row("2147483648", int32Max, "");
    row("32767.5", 32767, "");
    row("", int32Max, "");
    row("12abc", int32Max, "");
    row("1,000", int32Max, "");
    row("nan", int32Max, "");
    row("inf", int32Max, "");
}

void tst_ArgumentAnalysis::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(int, maximum);
    QFETCH(QString, result);
    const auto number = toWholeNumber(text, std::numeric_limits<qint32>::min(), maximum);
    QCOMPARE(number ? QString::number(*number) : QString(), result);
}

void tst_ArgumentAnalysis::analyze_data()
{
    QTest::addColumn<QStringList>("tokens");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("log");

    using Texts = std::initializer_list<const char *>;
    const auto list = [](Texts texts) {
        QStringList result;
        for (const char *text : texts)
            result.append(QString::fromUtf8(text));
        return result;
    };
    const auto row = [&](const char *name, Texts tokens, bool valid, Texts log) {
        QTest::newRow(name) << list(tokens) << valid << list(log);
    };
    row("no arguments", {""}, true, {});
    row("tab and empty skipped", {"\t", "", "a.log"}, true, {"+a.log"});

    row("/i=150", {"/i=150"}, true, {"i=100"});
    row("/i=99", {"/i=99"}, true, {"i=100"});
    row("/i=-5", {"/i=-5"}, true, {"i=100"});
    row("/i=10001", {"/i=10001"}, true, {"i=10000"});
    row("/i=99999", {"/i=99999"}, true, {"i=10000"});
    row("/i=2550", {"/i=2550"}, true, {"i=2500"});
    row("/i=9999", {"/i=9999"}, true, {"i=9900"});
    row("/i=10000", {"/i=10000"}, true, {"i=10000"});
    row("/i=199.5 half to even", {"/i=199.5"}, true, {"i=200"});
    // However large: beyond 32 bits, beyond what a double holds.
    row("/i beyond 32 bits", {"/i=3000000000"}, true, {"i=10000"});
    row("/i below -2^31", {"/i=-3000000000"}, true, {"i=100"});
    row("/i=1e400", {"/i=1e400"}, true, {"i=10000"});

    row("/w=\"\"", {"/w=\"\""}, true, {"w="});
    row("/w=\"My\"", {"/w=\"My\""}, true, {"w=My"});
    row("/k inner quote", {"/k=\"a\"b\""}, true, {"k=a\"b"});
    row("/g without keyword", {"/g", "/v"}, true, {"g=1", "v=1"});
    row("/c both", {"/c=euc", "/c=sjis"}, true, {"c=1", "c=0"});
    row("/c newer sets", {"/c=utf8", "/c=auto"}, true, {"c=2", "c=3"});
    row("/c=UTF-8", {"/c=UTF-8", "/c=utf-8", "/c=Auto"}, false, {});
    // An unknown encoding fails, but the analysis goes on.
    row("/c=SJIS", {"/c=SJIS", "a.log", "/v"}, false, {"+a.log", "v=1"});

    // Anything else that is not well-formed stops at once: the file behind it is not registered.
    for (const char *bad :
         {"/", "/x", "/V", "/vv", "//", "/i=abc", "/i=", "/i1000", "/i=inf", "/i=nan", "/w=My",
          "/w=\"", "/k=\"", "/w=\"my", "/c", "/x=1", "/v=/tmp/a.log"})
        row(bad, {"a.log", bad, "b.log"}, false, {"+a.log"});

    // Absolute paths look like options; only their form tells them apart.
    row("absolute paths", {"/var/log/app.log", "/w/x", "/x=/a b"}, true,
        {"+/var/log/app.log", "+/w/x", "+/x=/a b"});
    row("slash name without a further slash", {"/a.log", "/i=/x/y", "b.log"}, false, {});
}

void tst_ArgumentAnalysis::analyze()
{
    QFETCH(QStringList, tokens);
    QFETCH(bool, valid);
    QFETCH(QStringList, log);

    LoggingTarget target;
    QCOMPARE(analyzeArgument(tokens, target), valid);
    QCOMPARE(target.log, log);
}

void tst_ArgumentAnalysis::registersAtMostTenFiles()
{
    QStringList tokens {QStringLiteral("a.log")}; // the same name twice counts twice
    for (int i = 1; i <= 12; ++i)
        tokens.append(QStringLiteral("a.log"));
    LoggingTarget target;
    QVERIFY(analyzeArgument(tokens, target));
    QCOMPARE(target.files, 10);
}

QTEST_APPLESS_MAIN(tst_ArgumentAnalysis)
#include "tst_ArgumentAnalysis.moc"
