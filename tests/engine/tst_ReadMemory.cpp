// The reading path in bounded memory: a file that grew by a gigabyte is read in one look under
// an address-space limit far below that, and running out of memory becomes the polling cycle's
// question, never an abort. Each case runs in a child process, whose limit cannot hurt the
// test program.

#include "CountedReading.h"
#include "FakeClock.h"
#include "FakeMessageBox.h"
#include "FakePollTimer.h"
#include "FakeTaskQueue.h"
#include "GeneratedFileAccess.h"
#include "MemoryLimit.h"

#include "engine/PollingCycle.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMiB = qint64(1) << 20;
// "2026-12-07 行 ログ ｱ INFO worker" CR LF in Shift_JIS.
const QByteArray kLine
    = QByteArrayLiteral("2026-12-07 \x8d\x73 \x83\x8d\x83\x4f \xb1 INFO worker\r\n");

// The reading path over a generated file of the given size.
struct Reading
{
    explicit Reading(qint64 bytes)
        : files(kLine, bytes)
    {
    }
    GeneratedFileAccess files;
    FakeClock clock;
    CountedReading path {files, clock, u"generated.log"_s};
};

} // namespace

class TestReadMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { SKIP_UNDER_SANITIZERS(); }

    void oneGigabyteInOneLookStaysWithinTheLimit()
    {
        const qint64 lines = (qint64(1) << 30) / kLine.size();
        QCOMPARE(inChild(256 * kMiB,
                         [lines] {
                             Reading reading(lines * kLine.size());
                             return reading.path.appender.readLog2(0)
                                 && reading.path.view.lineBreaks == lines;
                         }),
                 true);
    }

    void runningOutOfMemoryAsksInsteadOfAborting()
    {
        QCOMPARE(inChild(128 * kMiB,
                         [] {
                             Reading reading(qint64(1) << 30);
                             reading.path.view.keepText
                                 = true; // a view that keeps everything runs out
                             FakePollTimer timer;
                             FakeMessageBox messages;
                             FakeTaskQueue turns;
                             PollingCycle cycle(reading.path.table, reading.path.appender, timer,
                                                messages, turns, reading.clock, {});
                             timer.setEnabled(true);
                             timer.tick();
                             return messages.texts
                                 == QStringList {PollingCycle::failureQuestion(u"generated.log"_s)};
                         }),
                 true);
    }
};

QTEST_APPLESS_MAIN(TestReadMemory)
#include "tst_ReadMemory.moc"
