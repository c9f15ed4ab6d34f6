#include "files/CaptionBuilder.h"

#include <QTest>

class tst_CaptionBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caption_data();
    void caption();
};

// Entries are separated by | in the rows; "/" rows use the Linux separator, "\" rows the
// Windows one.
void tst_CaptionBuilder::caption_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("caption");

    const auto row
        = [](const char *entries, const char *title, char16_t separator, const char *caption) {
              QTest::newRow(caption) << QString::fromUtf8(entries) << QString::fromUtf8(title)
                                     << QChar(separator) << QString::fromUtf8(caption);
          };
    row("", "", u'/', "Pivex [ファイル指定なし]");
    row("", "Web", u'/', "Web [ファイル指定なし] - Pivex");
    row("/var/log/app.log", "", u'/', "Pivex [/var/log/app.log]");
    row("/var/log/app.log", "Web", u'/', "Web [app.log] - Pivex");
    row("/var/log/app.log|/srv/y.txt", "", u'/', "Pivex [app.log,y.txt]");
    row("app.log|/var/log/app.log", "", u'/', "Pivex [app.log,app.log]");
    row("app.log", "T", u'/', "T [app.log] - Pivex");
    row("a.log|/var/log/", "", u'/', "Pivex [a.log,]");
    row("C:\\logs\\app.log|b.log", "", u'/', "Pivex [C:\\logs\\app.log,b.log]");
    row("C:\\logs\\app.log", "", u'\\', "Pivex [C:\\logs\\app.log]");
    row("C:\\logs\\app.log", "Web", u'\\', "Web [app.log] - Pivex");
    row("C:\\logs\\app.log|D:\\y.txt", "", u'\\', "Pivex [app.log,y.txt]");
    row("app.log|C:\\logs\\app.log", "", u'\\', "Pivex [app.log,app.log]");
    row("a/b.log|c.log", "", u'\\', "Pivex [a/b.log,c.log]");
}

void tst_CaptionBuilder::caption()
{
    QFETCH(QString, entries);
    QFETCH(QString, title);
    QFETCH(QChar, separator);
    QFETCH(QString, caption);
    const QStringList list = entries.isEmpty() ? QStringList() : entries.split(QLatin1Char('|'));
    QCOMPARE(CaptionBuilder::caption(list, title, separator), caption);
}

QTEST_APPLESS_MAIN(tst_CaptionBuilder)
#include "tst_CaptionBuilder.moc"
