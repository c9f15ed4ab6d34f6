#include "platform/IniSettingsStore.h"
#include "settings/SettingsLoader.h"
#include "settings/SettingsTarget.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes every value applied down, so a row can state how far a load got.
class LoggingTarget : public SettingsTarget
{
public:
    int interval() const override { return 2500; }
    bool setInterval(int ms) override { return note(QStringLiteral("i=%1").arg(ms), ms > 0); }
    qint32 characterSet() const override { return 1; }
    void setCharacterSet(qint32 value) override { note(QStringLiteral("c=%1").arg(value)); }
    QString fontName() const override { return QStringLiteral("Noto Sans Mono CJK JP"); }
    void setFontName(const QString &face) override { note(QStringLiteral("f=") + face); }
    double fontSize() const override { return size; }
    bool setFontSize(double points) override { return note(QStringLiteral("s=%1").arg(points)); }

    double size = 10.5;
    QStringList log;

private:
    bool note(const QString &entry, bool accept = true)
    {
        log.append(entry);
        return accept;
    }
};

} // namespace

class tst_SettingsLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void load_data();
    void load();
    void saveThenLoad();
    void formatsFontSize_data();
    void formatsFontSize();
    void brokenValueMessageNamesTheDefaults_data();
    void brokenValueMessageNamesTheDefaults();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void tst_SettingsLoader::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path()));
}

void tst_SettingsLoader::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("failedKey");
    QTest::addColumn<QString>("applied");

    const auto row
        = [](const char *name, const char *file, const char *failedKey, const char *applied) {
              QTest::newRow(name) << QByteArray(file) << QString::fromUtf8(failedKey)
                                  << QString::fromUtf8(applied);
          };
    row("empty store", "", "", "i=1000 c=0 f=Terminal s=14");
    row("font size 10.5", "[Option]\nFontSize=10.5", "", "i=1000 c=0 f=Terminal s=10");
    row("font size 11.5", "[Option]\nFontSize=11.5", "", "i=1000 c=0 f=Terminal s=12");
    row("capitals", "[OPTION]\nFONTSIZE=9\nencode=1", "", "i=1000 c=1 f=Terminal s=9");
    row("out of use range", "[Option]\nInterval=20000\nEncode=7", "",
        "i=20000 c=7 f=Terminal s=14");
    // A value that does not convert stops the load there: what came before stays applied.
    row("interval abc", "[Option]\nInterval=abc\nEncode=1", "Interval", "");
    row("interval empty", "[Option]\nInterval=", "Interval", "");
    row("interval beyond 16 bits", "[Option]\nInterval=32768", "Interval", "");
    row("interval refused", "[Option]\nInterval=-5", "Interval", "i=-5");
    row("encode beyond 32 bits", "[Option]\nEncode=2147483648", "Encode", "i=1000");
    row("font size text", "[Option]\nFontSize=big", "FontSize", "i=1000 c=0 f=Terminal");
}

void tst_SettingsLoader::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, failedKey);
    QFETCH(QString, applied);

    IniSettingsStore store;
    QFile stored(store.filePath(QStringLiteral("PIVEX")));
    QVERIFY(stored.open(QIODevice::WriteOnly) && stored.write(file) == file.size());
    stored.close();

    LoggingTarget target;
    QCOMPARE(SettingsLoader(store).LoadSettings(target).failedKey, failedKey);
    QCOMPARE(target.log.join(QLatin1Char(' ')), applied);
}

void tst_SettingsLoader::saveThenLoad()
{
    IniSettingsStore store;
    LoggingTarget target;
    QVERIFY(SettingsLoader(store).SaveSettings(target).ok());
    QFile stored(store.filePath(QStringLiteral("PIVEX")));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(),
             QByteArray("[Option]\nInterval=2500\nEncode=1\n"
                        "FontName=Noto Sans Mono CJK JP\nFontSize=10.5\n"));

    QVERIFY(SettingsLoader(store).LoadSettings(target).ok());
    QCOMPARE(target.log.join(QLatin1Char(' ')),
             QStringLiteral("i=2500 c=1 f=Noto Sans Mono CJK JP s=10"));
}

void tst_SettingsLoader::formatsFontSize_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 14.0 << QStringLiteral("14");
    QTest::newRow("half") << 10.5 << QStringLiteral("10.5");
    QTest::newRow("beyond four digits") << 9.12345678 << QStringLiteral("9.1235");
    QTest::newRow("rounds to whole") << 11.99999 << QStringLiteral("12");
}

void tst_SettingsLoader::formatsFontSize()
{
    QFETCH(double, size);
    QFETCH(QString, text);
    QCOMPARE(SettingsLoader::formatFontSize(size), text);
}

void tst_SettingsLoader::brokenValueMessageNamesTheDefaults_data()
{
    QTest::addColumn<QString>("failedKey");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("first key") << QStringLiteral("Interval")
                               << QStringLiteral("すべて既定の値で起動します");
    QTest::newRow("second key") << QStringLiteral(
        "Encode") << QStringLiteral("Encode、FontName、FontSize は既定の値で起動します");
    QTest::newRow("last key") << QStringLiteral("FontSize")
                              << QStringLiteral("FontSize は既定の値で起動します");
}

void tst_SettingsLoader::brokenValueMessageNamesTheDefaults()
{
    QFETCH(QString, failedKey);
    QFETCH(QString, lastLine);
    QCOMPARE(SettingsLoader::brokenValueMessage({failedKey}, QStringLiteral("/home/u/pivex.ini")),
             QStringLiteral("設定ファイルの値が正しくありません [/home/u/pivex.ini] ") + failedKey
                 + QStringLiteral("\r\n") + lastLine);
}

QTEST_GUILESS_MAIN(tst_SettingsLoader)
#include "tst_SettingsLoader.moc"
