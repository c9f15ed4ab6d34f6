#pragma once

// The real program as a user starts it, on an X server of the benchmark's own (Xvfb), timed
// from outside for the whole job: from starting the process to its window shown and its work
// done, that is no thread of it busy any more (the log read, the store's blocks sealed).

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <unistd.h>

// An Xvfb on a free display for as long as the object lives.
class OwnXServer
{
public:
    OwnXServer()
    {
        for (int attempt = 0; attempt < 5 && m_display.isEmpty(); ++attempt) {
            const int number = 100 + int(QRandomGenerator::global()->bounded(800));
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
            if (QFile::exists(socket))
                continue;
            m_server.start(QStringLiteral("Xvfb"),
                           {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            for (int wait = 0; wait < 100 && m_server.state() != QProcess::NotRunning; ++wait) {
                if (QFile::exists(socket)) {
                    m_display = QStringLiteral(":%1").arg(number);
                    break;
                }
                QThread::msleep(50);
            }
            if (m_display.isEmpty())
                stop();
        }
    }
    ~OwnXServer() { stop(); }
    OwnXServer(const OwnXServer &) = delete;
    OwnXServer &operator=(const OwnXServer &) = delete;

    // Empty when no server could be started (no Xvfb here).
    const QString &display() const { return m_display; }

private:
    void stop()
    {
        m_server.terminate();
        m_server.waitForFinished(3000);
    }

    QProcess m_server;
    QString m_display;
};

struct WholeJob
{
    double ms = -1; // from the start to the end of the last busy moment
    double cpuSeconds = -1; // user and system time of all the process's threads until then
};

// Nanoseconds of CPU the process's threads alive now have used (sched statistics).
inline qint64 threadsCpuNs(qint64 pid)
{
    qint64 ns = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            ns += stat.readAll().split(' ').value(0).toLongLong();
    }
    return ns;
}

// User and system seconds of the whole process so far, exited threads included.
inline double processCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command's name in parentheses; utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return double(fields.value(11).toLongLong() + fields.value(12).toLongLong())
        / double(sysconf(_SC_CLK_TCK));
}

inline bool windowShown(qint64 pid, const QString &display)
{
    QProcess xdotool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                   QStringLiteral("--pid"), QString::number(pid)});
    return xdotool.waitForFinished(5000) && xdotool.exitCode() == 0;
}

// Runs program on display with the environment given until its window is shown and it has
// used no CPU worth the name (under a fifth of a core) for quietMs; then ends it. A poll of
// the polling timer (microseconds) does not count as work. ms -1 when it did not get there.
inline WholeJob runWholeJob(const QString &program, const QStringList &arguments,
                            QProcessEnvironment environment, const QString &display,
                            int quietMs = 300, int giveUpMs = 60000)
{
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    WholeJob job;
    if (!process.waitForStarted())
        return job;
    const qint64 pid = process.processId();
    constexpr int kPollMs = 5;
    qint64 lastCpu = 0;
    qint64 lastPoll = 0;
    qint64 lastBusy = 0;
    while (process.state() == QProcess::Running && clock.elapsed() < giveUpMs) {
        QThread::msleep(kPollMs);
        const qint64 now = clock.nsecsElapsed();
        const qint64 cpu = threadsCpuNs(pid);
        if (cpu - lastCpu > (now - lastPoll) / 5)
            lastBusy = now;
        lastCpu = cpu;
        lastPoll = now;
        if (now - lastBusy >= qint64(quietMs) * 1000000 && windowShown(pid, display)) {
            job.ms = double(lastBusy) / 1e6;
            job.cpuSeconds = processCpuSeconds(pid);
            break;
        }
    }
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    return job;
}
