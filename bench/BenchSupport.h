#pragma once

#include "highlight/HighlightRules.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <ctime>
#include <vector>

// Small pieces several benchmarks share.

// CPU time of the calling thread in milliseconds: the machine running the benchmarks is
// shared, and time spent waiting for a core says nothing about the code measured.
inline double threadMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Lets the peak resident set (VmHWM) start again from the current one.
inline bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The face and size the main window gives the log view, for every widget made from here on.
inline void useViewFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSizeF(13.5);
    QApplication::setFont(font);
}

// Wall-clock milliseconds of `iconv -f from -t to` over a file, output thrown away; -1 when
// iconv failed. The reference for reading and decoding.
inline double iconvMilliseconds(const QString &path, const QString &to,
                                const QString &from = QStringLiteral("CP932"))
{
    QProcess iconv;
    iconv.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    iconv.start(QStringLiteral("iconv"),
                {QStringLiteral("-f"), from, QStringLiteral("-t"), to, path});
    if (!iconv.waitForFinished(-1) || iconv.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

// Twenty highlight rules as a user might collect them: the ready set (levels, whole lines),
// then words of the messages, names, and words the generated log never holds.
inline HighlightRules twentyRules()
{
    std::vector<HighlightRule> rules = HighlightRules::withReadySet({});
    const QColor ground(0xff, 0xf5, 0x9d);
    for (const char *word :
         {"タイムアウト", "失敗", "tanaka", "Deadlock", "suzuki", "ディスク", "session", "決済",
          "バッチ", "timeout", "refused", "panic", "OOM", "segfault"})
        rules.push_back({QString::fromUtf8(word), false, false, QColor(), ground});
    return HighlightRules(rules);
}
