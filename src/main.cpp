#include "platform/IniSettingsStore.h"
#include "platform/InotifyFileWatch.h"
#include "platform/LocalFileAccess.h"
#include "platform/ProcessArgumentText.h"
#include "platform/QtClipboard.h"
#include "platform/QtFileOpenDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPollTimer.h"
#include "startup/CommandLineHelp.h"
#include "startup/ProgramIcon.h"
#include "startup/frmLogView.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Answered on the terminal before Qt looks for a display: no window, no settings read.
    if (const auto status = CommandLineHelp::answer(argc, argv, stdout))
        return *status;

    // Every other argument is Pivex's: taken as bytes before Qt could take its own options
    // (-style, -reverse) out of them, and Qt is given none of them.
    ProcessArgumentText arguments(argc, argv);
    int qtArgc = std::min(argc, 1);
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Pivex"));
    QApplication::setDesktopFileName(QStringLiteral("pivex"));
    // Every window, message boxes included, shows it in its title bar.
    QApplication::setWindowIcon(ProgramIcon::icon());

    // Qt's own dialogs (the file-open dialog above all) speak Japanese like the rest.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    LocalFileAccess files;
    QtMessageBox messages;
    QtFileOpenDialog dlgOpen;
    QtClipboard clipboard;
    IniSettingsStore settings;
    QtPollTimer tmrCheck;
    InotifyFileWatch watch;
    const DesktopServices services {files,    messages,  dlgOpen,  clipboard,
                                    settings, arguments, tmrCheck, watch};

    frmLogView window(services);
    if (!window.Form_Load()) {
        // A start-up message has been shown; the window never was. A start from a terminal or
        // a script learns why there too.
        std::fputs(window.startupReport().constData(), stderr);
        return 1;
    }
    window.show();
    return QApplication::exec();
}
