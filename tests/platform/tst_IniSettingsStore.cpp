#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

class tst_IniSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void location();
    void roundTrip_data();
    void roundTrip();
    void handWrittenFile_data();
    void handWrittenFile();
    void keepsWhatItDoesNotKnow();
    void refusesWhatTheFileCannotHold();
    void readOnlyDirectoryKeepsOldFile();
    void failedWriteKeepsOldFile();
    void junkFileDoesNotCrash_data();
    void junkFileDoesNotCrash();

private:
    QString read(const char *section, const char *key) const
    {
        return IniSettingsStore().read(s("PIVEX"), s(section), s(key), s("default"));
    }
    bool save(const char *section, const char *key, const QString &value)
    {
        return IniSettingsStore().save(s("PIVEX"), s(section), s(key), value);
    }
    QString iniPath() const { return m_home->path() + s("/pivex.ini"); }
    QByteArray contents() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    void setContents(const QByteArray &data)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(data), data.size());
    }

    std::unique_ptr<QTemporaryDir> m_home;
};

void tst_IniSettingsStore::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path()));
}

void tst_IniSettingsStore::location()
{
    IniSettingsStore store;
    QCOMPARE(store.filePath(s("PIVEX")), iniPath());
    QCOMPARE(store.filePath(s("Pivex")), iniPath());
    QCOMPARE(QFileInfo(store.filePath(s("../x"))).absolutePath(), m_home->path());

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->path() + s("/new/dir")));
    QVERIFY(save("Option", "Interval", s("500")));
    QVERIFY(QFile::exists(m_home->path() + s("/new/dir/pivex.ini")));

    qputenv("XDG_CONFIG_HOME", "relative/dir");
    QCOMPARE(IniSettingsStore::userConfigDirectory(), QDir::homePath() + s("/.config"));
}

// Values come back exactly, whatever quoting the line needed; names match in any case.
void tst_IniSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    for (const char *value : {"10.5", "", "  Noto Sans Mono ", "\"quoted\"", "\"", "\"abc",
                              "a=b;c # d", "[Other]", "ＭＳ ゴシック", "a\tb"})
        QTest::newRow(value) << s(value);
}

void tst_IniSettingsStore::roundTrip()
{
    QFETCH(QString, value);
    QVERIFY(save("Option", "FontName", s("first")));
    QVERIFY(save("OPTION", "fontname", value));
    QVERIFY(save("Option", "Interval", s("1000")));
    QCOMPARE(read("option", "FONTNAME"), value);
    QCOMPARE(read("Option", "Interval"), s("1000"));
    QCOMPARE(IniSettingsStore().read(s("OTHER"), s("Option"), s("Interval"), s("d")), s("d"));
}

void tst_IniSettingsStore::handWrittenFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("interval");

    QTest::newRow("empty value") << QByteArray("[Option]\nInterval=\n") << QString();
    QTest::newRow("no equals") << QByteArray("[Option]\nInterval\n") << s("default");
    QTest::newRow("other section") << QByteArray("[Other]\nInterval=1\n") << s("default");
    QTest::newRow("before any section") << QByteArray("Interval=1\n[Option]\n") << s("default");
    QTest::newRow("comment") << QByteArray("[Option]\n;Interval=1\n#Interval=2\n") << s("default");
    QTest::newRow("blanks") << QByteArray("  [ Option ]  \n  Interval =  500  \n") << s("500");
    QTest::newRow("quoted") << QByteArray("[Option]\nInterval=\" 5 \"\n") << s(" 5 ");
    QTest::newRow("crlf and bom") << QByteArray("\xEF\xBB\xBF[Option]\r\nInterval=5\r\n") << s("5");
    QTest::newRow("first of two") << QByteArray("[Option]\nInterval=1\n[option]\nInterval=2\n")
                                  << s("1");
    QTest::newRow("later section") << QByteArray("[option]\nX=1\n[OPTION]\nInterval=2") << s("2");
    QTest::newRow("unclosed header") << QByteArray("[Option]\n[Broken\nInterval=3\n") << s("3");
}

void tst_IniSettingsStore::handWrittenFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, interval);
    setContents(file);
    QCOMPARE(read("Option", "Interval"), interval);
    QVERIFY(save("Option", "Interval", s("700")));
    QCOMPARE(read("Option", "Interval"), s("700"));
}

void tst_IniSettingsStore::keepsWhatItDoesNotKnow()
{
    setContents("; by hand\r\n[Window]\r\nLeft=10\r\n\r\n[OPTION]\r\nInterval = 2000 ; old\r\n"
                "Colour=\xff\xfe not UTF-8\r\n\r\n[Last]\r\nx=1");
    QVERIFY(save("Option", "Interval", s("300")));
    QVERIFY(save("Option", "FontName", s("Terminal")));
    QVERIFY(save("New", "Key", s("v")));
    // Only the saved lines change or appear, in the file's own line ends.
    QCOMPARE(contents(),
             QByteArray("; by hand\r\n[Window]\r\nLeft=10\r\n\r\n[OPTION]\r\nInterval =300\r\n"
                        "Colour=\xff\xfe not UTF-8\r\nFontName=Terminal\r\n\r\n[Last]\r\nx=1\r\n"
                        "\r\n[New]\r\nKey=v\r\n"));
}

void tst_IniSettingsStore::refusesWhatTheFileCannotHold()
{
    QVERIFY(save("Option", "Interval", s("1000")));
    const QByteArray before = contents();
    QVERIFY(!save("Option", "FontName", s("two\nlines")));
    QVERIFY(!save("Option", "FontName", s("cr\r")));
    QVERIFY(!save("Opt]ion", "Interval", s("1")));
    QVERIFY(!save("Option", "Inter=val", s("1")));
    QVERIFY(!save("Option", " Interval", s("1")));
    QVERIFY(!save("", "Interval", s("1")));
    QCOMPARE(contents(), before);
}

void tst_IniSettingsStore::readOnlyDirectoryKeepsOldFile()
{
    QVERIFY(save("Option", "Interval", s("1000")));
    const QByteArray before = contents();

    const QFile::Permissions writable = QFileInfo(m_home->path()).permissions();
    QVERIFY(QFile::setPermissions(m_home->path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(m_home->path(), writable); });
    if (QFile probe(m_home->path() + s("/probe")); probe.open(QIODevice::WriteOnly))
        QSKIP("permissions are not enforced for this user (root?)");

    QVERIFY(!save("Option", "Interval", s("5000")));
    QCOMPARE(contents(), before);
}

// A disk that fills up while the new file is written. The file-size limit makes the write come
// up short for every user, root included.
void tst_IniSettingsStore::failedWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    const QByteArray before = "[Option]\nInterval=1000\n; " + QByteArray(200, 'x') + '\n';
    setContents(before);

    rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = save("Option", "Interval", s("5000"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QCOMPARE(contents(), before);
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList {s("pivex.ini")});
#else
    QSKIP("needs a file-size limit");
#endif
}

void tst_IniSettingsStore::junkFileDoesNotCrash_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("zero-filled") << QByteArray(64 * 1024, '\0');
    QByteArray noise(64 * 1024, '\0');
    quint32 state = 12345;
    for (char &c : noise) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 24);
    }
    QTest::newRow("noise") << noise;
    QTest::newRow("brackets") << QByteArray("[\n]\n[]\n=\n==\n[=]\n[Option\n]=[\n");
    QTest::newRow("lone CRs") << QByteArray("[Option]\rInterval=1\r\r");
}

void tst_IniSettingsStore::junkFileDoesNotCrash()
{
    QFETCH(QByteArray, file);
    setContents(file);
    read("Option", "Interval");
    QVERIFY(save("Option", "Interval", s("300")));
    QCOMPARE(read("Option", "Interval"), s("300"));
    QVERIFY(contents().startsWith(file));
}

QTEST_GUILESS_MAIN(tst_IniSettingsStore)
#include "tst_IniSettingsStore.moc"
