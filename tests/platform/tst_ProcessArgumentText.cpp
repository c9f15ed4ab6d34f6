#include "platform/NativePath.h"
#include "platform/ProcessArgumentText.h"
#include "startup/ArgumentTokenizer.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProcessArgumentText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The joined text must split back into the arguments the shell handed over.
    void joinsAndSplitsBack_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("text");
        // Arguments are separated by | in the rows, the program's name left out.
        const auto row = [](const char *arguments, const char *text) {
            QTest::newRow(text) << QString::fromUtf8(arguments) << QString::fromUtf8(text);
        };
        row("", "\"\""); // one empty argument
        row("/v|/var/log/a.log", "/v /var/log/a.log");
        row("/home/me/My Logs/a.log|/g", "\"/home/me/My Logs/a.log\" /g");
        row("a.log||b.log", "a.log \"\" b.log");
        row("/w=\"Web\"|a\tb", "/w=\"Web\" a\tb");
    }
    void joinsAndSplitsBack()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, text);
        const QStringList list = arguments.split(QLatin1Char('|'));
        const ProcessArgumentText source(QStringList {u"/usr/bin/pivex"_s} + list);
        QCOMPARE(source.argumentText(), text);
        QCOMPARE(Module1::splitQuoted(source.argumentText(), u" "_s), list);
        QCOMPARE(ProcessArgumentText({u"/usr/bin/pivex"_s}).argumentText(), QString());
    }

    // Arguments are bytes: each comes back whole and byte for byte, whatever it holds, and
    // shows with U+FFFD where it is not UTF-8.
    void argumentsAreKeptAsBytes_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ASCII") << QByteArray("/var/log/a.log") << u"/var/log/a.log"_s;
        QTest::newRow("UTF-8") << QByteArray("ログ😀.log") << u"ログ😀.log"_s;
        // Characters whose second half lies where the stand-ins for bytes do.
        QTest::newRow("pair ending in U+DC80..DCFF") << QByteArray("📄𠂀.log") << u"📄𠂀.log"_s;
        QTest::newRow("Shift_JIS") << QByteArray("\x83\x8D\x83\x4F.log") << u"���O.log"_s;
        QTest::newRow("EUC-JP") << QByteArray("\xA5\xED\xA5\xB0.log") << u"����.log"_s;
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xB2\x80") << u"���"_s;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << u"��"_s;
        QTest::newRow("cut-off sequence") << QByteArray("a\xE3\x81") << u"a��"_s;
        QTest::newRow("blank and quote") << QByteArray("my \"odd\" log") << u"my \"odd\" log"_s;
        QTest::newRow("Qt option") << QByteArray("-reverse") << u"-reverse"_s;
    }
    void argumentsAreKeptAsBytes()
    {
        QFETCH(QByteArray, argument);
        QFETCH(QString, shown);
        const char *argv[] = {"pivex", argument.constData(), "/v"};
        const ProcessArgumentText source(3, argv);
        const QStringList split = source.splitArguments().value_or(QStringList {});
        QCOMPARE(split.size(), 2);
        QCOMPARE(NativePath::toBytes(split.at(0)), argument);
        QCOMPARE(NativePath::display(split.at(0)), shown);
        QCOMPARE(split.at(1), u"/v"_s);
    }
};

QTEST_APPLESS_MAIN(tst_ProcessArgumentText)
#include "tst_ProcessArgumentText.moc"
