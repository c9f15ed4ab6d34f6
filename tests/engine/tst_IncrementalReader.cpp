#include "engine/IncrementalReader.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qint32 kSjis = 0;
constexpr qint32 kEuc = 1;
} // namespace

class TestIncrementalReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    LocalFileAccess m_files;
    Cp932Decoder m_decoder;

    QString pathOf(const QString &name) const { return m_dir.filePath(name); }

    static void write(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | mode));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void append(const QString &name, const QByteArray &bytes)
    {
        write(pathOf(name), bytes, QIODevice::Append);
    }
    void rewrite(const QString &name, const QByteArray &bytes)
    {
        write(pathOf(name), bytes, QIODevice::Truncate);
    }

    // A table holding one file positioned at its current end, as start-up leaves it.
    struct Watch
    {
        WatchedFileTable table;
        IncrementalReader reader;
        Watch(const FileAccess &files, const ShiftJisDecoder &decoder, const QString &path)
            : reader(files, decoder, table)
        {
            table.append(path, table.getIndex());
            table.setFilePointerOfEntry(0, 1);
        }
        qint64 position() const { return *table.filePointerOfEntry(0); }
    };
    std::unique_ptr<Watch> watch(const QString &name)
    {
        auto w = std::make_unique<Watch>(m_files, m_decoder, pathOf(name));
        return w;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void unchangedFileGivesNothing()
    {
        rewrite(QStringLiteral("same.log"), QByteArray(100, 'x'));
        auto w = watch(QStringLiteral("same.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        QCOMPARE(w->position(), 101);
        QCOMPARE(w->reader.readNew(0, kSjis), QString());
        QCOMPARE(w->position(), 101);
    }

    void appendedLineEndsInOneCr()
    {
        rewrite(QStringLiteral("grow.log"), QByteArray(100, 'x'));
        auto w = watch(QStringLiteral("grow.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        append(QStringLiteral("grow.log"), "abc\r\n");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("abc\r"));
        QCOMPARE(w->position(), 106);
    }

    void lineEndsOfEveryKind_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\rb\r");
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringLiteral("a\rb\r");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\rb\r");
    }
    void lineEndsOfEveryKind()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        rewrite(QStringLiteral("ends.log"), {});
        auto w = watch(QStringLiteral("ends.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        append(QStringLiteral("ends.log"), bytes);
        QCOMPARE(w->reader.readNew(0, kSjis), text);
    }

    void crLfSplitAcrossReadsGivesAnEmptyLine()
    {
        rewrite(QStringLiteral("split.log"), {});
        auto w = watch(QStringLiteral("split.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        append(QStringLiteral("split.log"), "a\r");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("a\r"));
        append(QStringLiteral("split.log"), "\nb");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("\rb"));
    }

    void characterSplitAcrossReadsIsShownWholeAndOnce_data()
    {
        QTest::addColumn<qint32>("characterSet");
        QTest::addColumn<QByteArray>("bytes"); // "ログ" LF in the file's encoding
        QTest::newRow("Shift_JIS") << kSjis << QByteArray("\x83\x8D\x83\x4F\n");
        QTest::newRow("EUC-JP") << kEuc << QByteArray("\xA5\xED\xA5\xB0\n");
    }
    void characterSplitAcrossReadsIsShownWholeAndOnce()
    {
        QFETCH(qint32, characterSet);
        QFETCH(QByteArray, bytes);
        rewrite(QStringLiteral("mb.log"), {});
        auto w = watch(QStringLiteral("mb.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        QString shown;
        // Every cut through the line, including each one inside a character.
        for (int cut = 0; cut < bytes.size(); ++cut) {
            append(QStringLiteral("mb.log"), bytes.mid(cut, 1));
            const auto text = w->reader.readNew(0, characterSet);
            QVERIFY2(text, "a read must not fail on a half-written character");
            shown += *text;
        }
        QCOMPARE(shown, QString::fromUtf8("ログ\r"));
        QCOMPARE(w->position(), bytes.size() + 1);
    }

    void shrinkIsOnlyStrictlyShorter()
    {
        rewrite(QStringLiteral("shrink.log"), "0123456789");
        auto w = watch(QStringLiteral("shrink.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        QCOMPARE(w->position(), 11);

        // Equal length: not a shrink, nothing new.
        rewrite(QStringLiteral("shrink.log"), "abcdefghij");
        QCOMPARE(w->reader.readNew(0, kSjis), QString());
        QCOMPARE(w->position(), 11);

        // Truncated to zero: back to the start, then the new content.
        rewrite(QStringLiteral("shrink.log"), {});
        QCOMPARE(w->reader.readNew(0, kSjis), QString());
        QCOMPARE(w->position(), 1);
        append(QStringLiteral("shrink.log"), "x");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("x"));

        // Shorter but not empty: everything again from the start.
        rewrite(QStringLiteral("shrink.log"), "0123456789");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("123456789"));
        rewrite(QStringLiteral("shrink.log"), "new\n");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("new\r"));
        QCOMPARE(w->position(), 5);
    }

    void eucFailureKeepsThePosition()
    {
        rewrite(QStringLiteral("bad.euc"), {});
        auto w = watch(QStringLiteral("bad.euc"));
        QVERIFY(w->reader.setupFilePointer(0));
        append(QStringLiteral("bad.euc"),
               "ok\n\xA4"
               "a\n");
        QVERIFY(!w->reader.readNew(0, kEuc));
        QVERIFY(!w->reader.readNew(0, kEuc)); // keeps failing while the pair is unread
        QCOMPARE(w->position(), 1);
        // Read as Shift_JIS the same bytes go through.
        QVERIFY(w->reader.readNew(0, kSjis));
        QCOMPARE(w->position(), 7);
    }

    void existingContentIsNeverShownAfterSetup()
    {
        rewrite(QStringLiteral("big.log"), QByteArray(1 << 20, 'm'));
        auto w = watch(QStringLiteral("big.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        append(QStringLiteral("big.log"), "tail\n");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("tail\r"));
    }

    void deletedFileFailsWithoutChangingState()
    {
        rewrite(QStringLiteral("gone.log"), "abc");
        auto w = watch(QStringLiteral("gone.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        QVERIFY(QFile::remove(pathOf(QStringLiteral("gone.log"))));
        QVERIFY(!w->reader.readNew(0, kSjis));
        QVERIFY(!w->reader.setupFilePointer(0));
        QCOMPARE(w->position(), 4);
        rewrite(QStringLiteral("gone.log"), "abcdef");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("def"));
    }

    void nonRegularFilesFailWithoutBlocking()
    {
        const QString fifo = pathOf(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!m_files.openForReading(fifo)); // would block forever without O_NONBLOCK
        QVERIFY(!m_files.openForReading(m_dir.path()));
        QVERIFY(!m_files.openForReading(QStringLiteral("/dev/zero")));
        QVERIFY(!m_files.exists(m_dir.path()));
        QVERIFY(!m_files.exists(pathOf(QStringLiteral("missing"))));
    }

    void sparseFileBeyondFourGiBIsReadAtItsEnd()
    {
        const QString path = pathOf(QStringLiteral("sparse.log"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize((qint64(5) << 30)));
        }
        auto w = watch(QStringLiteral("sparse.log"));
        QVERIFY(w->reader.setupFilePointer(0));
        QCOMPARE(w->position(), (qint64(5) << 30) + 1);
        append(QStringLiteral("sparse.log"), "far\r\n");
        QCOMPARE(w->reader.readNew(0, kSjis), QStringLiteral("far\r"));
        QCOMPARE(w->position(), (qint64(5) << 30) + 6);
        QFile::remove(path);
    }

    void invalidEntryFails()
    {
        auto w = watch(QStringLiteral("whatever.log"));
        QVERIFY(!w->reader.readNew(3, kSjis));
        w->table.append(pathOf(QStringLiteral("whatever.log")), 42);
        rewrite(QStringLiteral("whatever.log"), "x");
        QVERIFY(!w->reader.setupFilePointer(1));
        QVERIFY(!w->reader.readNew(1, kSjis));
    }
};

QTEST_APPLESS_MAIN(TestIncrementalReader)
#include "tst_IncrementalReader.moc"
