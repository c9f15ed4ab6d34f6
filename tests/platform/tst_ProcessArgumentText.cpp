#include "platform/ProcessArgumentText.h"
#include "startup/ArgumentTokenizer.h"

#include <QTest>

// The joined text must split back into the arguments the shell handed over.
class tst_ProcessArgumentText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void joinsAndSplitsBack_data();
    void joinsAndSplitsBack();
};

// Arguments are separated by | in the rows, the program's name left out.
void tst_ProcessArgumentText::joinsAndSplitsBack_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *arguments, const char *text) {
        QTest::newRow(text) << QString::fromUtf8(arguments) << QString::fromUtf8(text);
    };
    row("", "\"\""); // one empty argument
    row("/v|/var/log/a.log", "/v /var/log/a.log");
    row("/home/me/My Logs/a.log|/g", "\"/home/me/My Logs/a.log\" /g");
    row("a.log||b.log", "a.log \"\" b.log");
    row("/w=\"Web\"|a\tb", "/w=\"Web\" a\tb");
}

void tst_ProcessArgumentText::joinsAndSplitsBack()
{
    QFETCH(QString, arguments);
    QFETCH(QString, text);

    const QStringList list = arguments.split(QLatin1Char('|'));
    const ProcessArgumentText source(QStringList {QStringLiteral("/usr/bin/pivex")} + list);
    QCOMPARE(source.argumentText(), text);
    QCOMPARE(Module1::splitQuoted(source.argumentText(), QStringLiteral(" ")), list);
    QCOMPARE(ProcessArgumentText({QStringLiteral("/usr/bin/pivex")}).argumentText(), QString());
}

QTEST_APPLESS_MAIN(tst_ProcessArgumentText)
#include "tst_ProcessArgumentText.moc"
