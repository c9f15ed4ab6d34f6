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
#include "ProcStatus.h"

#include "engine/PollingCycle.h"

#include <QTest>

#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

constexpr qint64 kMiB = qint64(1) << 20;
// "2026-12-07 行 ログ ｱ INFO worker" CR LF in Shift_JIS.
const QByteArray kLine
    = QByteArrayLiteral("2026-12-07 \x8d\x73 \x83\x8d\x83\x4f \xb1 INFO worker\r\n");

// Whether body holds in a child process whose address space may grow by headroom bytes beyond
// what it maps now; false too when the child ends by a signal (an abort).
bool inChild(qint64 headroom, const std::function<bool()> &body)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlim_t bytes = rlim_t(procStatusKb("VmSize") * 1024 + headroom);
        const rlimit limit {bytes, bytes};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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
    void init()
    {
        if (kSanitized)
            QSKIP("the sanitizers reserve more address space than any limit allows");
    }

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
        QCOMPARE(
            inChild(128 * kMiB,
                    [] {
                        Reading reading(qint64(1) << 30);
                        reading.path.view.keepText = true; // a view that keeps everything runs out
                        FakePollTimer timer;
                        FakeMessageBox messages;
                        FakeTaskQueue turns;
                        PollingCycle cycle(reading.path.table, reading.path.appender, timer,
                                           messages, reading.path.view, turns, reading.clock, {});
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
