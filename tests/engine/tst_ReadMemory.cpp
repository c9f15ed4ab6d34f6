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

#include "engine/PollingCycle.h"

#include <QFile>
#include <QTest>

#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

qint64 mappedBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

// Runs body in a child process whose address space may grow by headroom bytes beyond what it
// maps now; its exit status, or -1 when a signal (an abort) ended it.
int inChild(qint64 headroom, const std::function<int()> &body)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit limit {rlim_t(mappedBytes() + headroom), rlim_t(mappedBytes() + headroom)};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
    CountedReading path {files, clock, QStringLiteral("generated.log")};
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
        const int status = inChild(256 * kMiB, [lines] {
            Reading reading(lines * kLine.size());
            if (!reading.path.appender.readLog2(0))
                return 2;
            return reading.path.view.lineBreaks == lines ? 0 : 3;
        });
        QCOMPARE(status, 0);
    }

    void runningOutOfMemoryAsksInsteadOfAborting()
    {
        const int status = inChild(128 * kMiB, [] {
            Reading reading(qint64(1) << 30);
            reading.path.view.keepText = true; // a view that keeps everything runs out first
            FakePollTimer timer;
            FakeMessageBox messages;
            FakeTaskQueue turns;
            PollingCycle cycle(reading.path.table, reading.path.appender, timer, messages,
                               reading.path.view, turns, reading.clock, {});
            timer.setEnabled(true);
            timer.tick();
            return messages.texts
                    == QStringList {PollingCycle::failureQuestion(QStringLiteral("generated.log"))}
                ? 0
                : 4;
        });
        QCOMPARE(status, 0);
    }
};

QTEST_APPLESS_MAIN(TestReadMemory)
#include "tst_ReadMemory.moc"
