#include "WatchedLogs.h"

#include "platform/ReadProgress.h"
#include "startup/StartupFiles.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct RecordingProgress : ReadProgress
{
    void update(const QString &fileName, qint64 done, qint64 total) override
    {
        names << fileName;
        steps.append({done, total});
    }
    void finish() override { ++finished; }

    QStringList names;
    QList<std::pair<qint64, qint64>> steps;
    int finished = 0;
};

} // namespace

class TestStartupFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // View mode reads each file's whole content chunk by chunk, telling how far it has come.
    void viewModeReadsChunkByChunkWithProgress()
    {
        WatchedLogs logs({64, 32, 1000});
        QByteArray content;
        for (int i = 0; i < 100; ++i)
            content += "line " + QByteArray::number(i).rightJustified(3, '0') + " of many\r\n";
        logs.append(u"a.log"_s, content);
        logs.append(u"b.log"_s, "b\r\n");
        for (const QString name : {u"a.log"_s, u"b.log"_s}) {
            const int slot = logs.table.getIndex();
            logs.table.append(logs.pathOf(name), slot);
            logs.table.setFilePointer(slot, 1);
        }
        RecordingProgress progress;
        QCOMPARE(
            setUpWatchedFiles(logs.table, logs.files, logs.reader, logs.appender, true, progress),
            std::nullopt);

        QCOMPARE(logs.view.text(), QString::fromLatin1(content) + u"b\r\n"_s);
        QVERIFY(progress.steps.size() >= content.size() / 64 - 1);
        QCOMPARE(progress.names, QStringList(progress.steps.size(), logs.pathOf(u"a.log"_s)));
        for (qsizetype k = 0; k < progress.steps.size(); ++k) {
            QCOMPARE(progress.steps.at(k).second, content.size());
            QVERIFY(progress.steps.at(k).first > (k > 0 ? progress.steps.at(k - 1).first : 0));
        }
        QCOMPARE(progress.finished, 2);
    }
};

QTEST_MAIN(TestStartupFiles)
#include "tst_StartupFiles.moc"
