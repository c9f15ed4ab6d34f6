#pragma once

// The real main window with the real desktop services, for benchmarks that measure the
// program as a user runs it: real files, the real timer, the real view (offscreen).

#include "platform/IniSettingsStore.h"
#include "platform/InotifyFileWatch.h"
#include "platform/LocalFileAccess.h"
#include "platform/ProcessArgumentText.h"
#include "platform/QtClipboard.h"
#include "platform/QtFileOpenDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPollTimer.h"
#include "startup/frmLogView.h"
#include "view/StoreLogView.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/resource.h>

struct LiveWindow
{
    explicit LiveWindow(const QStringList &arguments, const QString &configDirectory)
        : settings(configDirectory)
        , argumentText(QStringList {QStringLiteral("pivex")} + arguments)
    {
    }

    LocalFileAccess files;
    QtMessageBox messages;
    QtFileOpenDialog dlgOpen;
    QtClipboard clipboard;
    IniSettingsStore settings;
    ProcessArgumentText argumentText;
    QtPollTimer tmrCheck;
    InotifyFileWatch watch;
    DesktopServices services {files,    messages,     dlgOpen,  clipboard,
                              settings, argumentText, tmrCheck, watch};
    frmLogView window {services};
};

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// CPU time of this process so far, user and system, in seconds.
inline double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Milliseconds from creating the main window with these arguments to its first paint; -1 when
// the start failed. beforeLoad runs between creating the window and Form_Load.
inline double millisecondsToFirstPaint(const QStringList &arguments, const QString &configDirectory,
                                       const std::function<void(frmLogView &)> &beforeLoad = {})
{
    QElapsedTimer timer;
    timer.start();
    LiveWindow live(arguments, configDirectory);
    if (beforeLoad)
        beforeLoad(live.window);
    if (!live.window.Form_Load())
        return -1;
    live.window.show();
    if (!QTest::qWaitForWindowExposed(&live.window))
        return -1;
    QCoreApplication::processEvents(); // the first paint of the view
    return double(timer.nsecsElapsed()) / 1e6;
}
