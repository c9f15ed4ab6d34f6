#include "FakeArgumentText.h"
#include "FakeClipboard.h"
#include "FakeFileOpenDialog.h"
#include "FakeFileWatch.h"
#include "FakeMessageBox.h"
#include "FakePollTimer.h"
#include "highlight/HighlightRules.h"
#include "platform/IniSettingsStore.h"
#include "platform/LocalFileAccess.h"
#include "settings/LogViewSettings.h"
#include "startup/frmLogView.h"
#include "status/MonitorStatusBar.h"
#include "view/LogScrollView.h"
#include "view/OriginPalette.h"
#include "view/StoreLogView.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <sys/stat.h>

namespace {

// Everything the main window reaches on the desktop, faked where a test must see or answer.
struct Desktop
{
    QTemporaryDir dir;
    LocalFileAccess files;
    FakeMessageBox messages;
    FakeFileOpenDialog dlgOpen;
    FakeClipboard clipboard;
    IniSettingsStore settings {dir.filePath(QStringLiteral("config"))};
    FakeArgumentText arguments;
    FakePollTimer tmrCheck;
    FakeFileWatch watch;
    DesktopServices services {files,    messages,  dlgOpen,  clipboard,
                              settings, arguments, tmrCheck, watch};

    QString pathOf(const QString &name) const { return dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes, bool append = false)
    {
        QFile file(pathOf(name));
        QVERIFY(
            file.open(QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate)));
        file.write(bytes);
    }
    // Writes the files and names them on the command line after the options, in this order.
    void commandLine(const QString &options, const QList<std::pair<QString, QByteArray>> &files)
    {
        QStringList tokens {options};
        for (const auto &[name, bytes] : files) {
            write(name, bytes);
            tokens << pathOf(name);
        }
        arguments.text = tokens.join(u' ');
    }
};

QString viewText(frmLogView &window)
{
    return window.rtfLog().text();
}

} // namespace

class TestFrmLogView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithNoArgumentsAndPolls()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QVERIFY(desktop.messages.texts.isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("Pivex [ファイル指定なし]"));
        QVERIFY(desktop.tmrCheck.isEnabled());
        QCOMPARE(desktop.tmrCheck.interval(), 1000);
        QCOMPARE(viewText(window), QString());
    }

    void startupFailuresShowOneMessageAndNeverStartPolling_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("invalid option")
            << QStringLiteral("/x") << QStringLiteral("引数の指定が不正です");
        QTest::newRow("existing then missing")
            << QStringLiteral("@/a.log @/missing.log") << QStringLiteral("ファイルが存在しません");
        QTest::newRow("directory")
            << QStringLiteral("@/sub") << QStringLiteral("ファイルが存在しません");
        QTest::newRow("unreadable FIFO")
            << QStringLiteral("@/a.log @/pipe")
            << QStringLiteral("ファイルの読み込みでエラーが発生しました [@/pipe]");
    }
    void startupFailuresShowOneMessageAndNeverStartPolling()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        Desktop desktop;
        desktop.write(QStringLiteral("a.log"), "one\r\n");
        QVERIFY(QDir(desktop.dir.path()).mkdir(QStringLiteral("sub")));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(desktop.pathOf(QStringLiteral("pipe"))).constData(), 0600),
            0);
        desktop.arguments.text = arguments.replace(u'@', desktop.dir.path());
        message.replace(u'@', desktop.dir.path());

        frmLogView window(desktop.services);
        QVERIFY(!window.Form_Load());
        QCOMPARE(desktop.messages.texts, QStringList {message});
        QVERIFY(!desktop.tmrCheck.isEnabled());
        QVERIFY(!window.isVisible());
    }

    // Each file's content in command-line order, then what they append; with two files the
    // gutter marks each line in its file's colour, with one it goes.
    void viewModeShowsFilesInCommandLineOrderThenFollowsThem()
    {
        Desktop desktop;
        desktop.commandLine(
            QStringLiteral("/v"),
            {{QStringLiteral("b.log"), "b1\r\nb2\n"}, {QStringLiteral("a.log"), "a1\r\n"}});
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(viewText(window), QStringLiteral("b1\r\nb2\r\na1\r\n"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pivex [b.log,a.log]"));

        LogScrollView *view = window.rtfLog().widget();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(view->isGutterShown());
        const QImage gutter = view->gutter()->grab().toImage();
        const int height = view->viewLayout().metrics().lineHeight();
        const auto colourOfRow = [&](int row) { return gutter.pixelColor(1, row * height + 1); };
        QCOMPARE(colourOfRow(0), OriginPalette::colour(1));
        QCOMPARE(colourOfRow(1), OriginPalette::colour(1));
        QCOMPARE(colourOfRow(2), OriginPalette::colour(2));
        QVERIFY(colourOfRow(3) != OriginPalette::colour(2)); // the empty last line is no file's

        desktop.write(QStringLiteral("a.log"), "a2\r\n", true);
        QVERIFY(desktop.tmrCheck.tick());
        QCOMPARE(viewText(window), QStringLiteral("b1\r\nb2\r\na1\r\na2\r\n"));

        QVERIFY(window.removeFile(0));
        QVERIFY(!view->isGutterShown());
        QVERIFY(window.addFile(desktop.pathOf(QStringLiteral("b.log"))));
        QVERIFY(view->isGutterShown());
    }

    // The status bar tells the state (the counts within half a second, the switches at once);
    // with following off, a poll leaves the user's selection and scroll position, counts what
    // arrived below, and Ctrl+End, the count and the menu item go to the end.
    void statusBarAndFollowing()
    {
        Desktop desktop;
        QByteArray lines;
        for (int i = 0; i < 100; ++i)
            lines += "line " + QByteArray::number(i) + "\r\n";
        desktop.commandLine(QStringLiteral("/v"), {{QStringLiteral("a.log"), lines}});
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MonitorStatusBar *status = window.monitorStatusBar();
        const auto shown = [&] {
            return QStringList {status->monitoringShown(), status->grepShown(),
                                status->linesShown(), status->newLinesShown()}
                .join(u'|');
        };
        QTRY_COMPARE(shown(), QStringLiteral("監視中||100 行|"));
        window.engineState().GrepKeyword = QStringLiteral("ERR");
        window.mnuGrep_Click();
        QTRY_COMPARE(shown(), QStringLiteral("監視中|grep: 「ERR」|100 行|"));
        window.mnuGrep_Click();
        status->findChild<QToolButton *>(QStringLiteral("statusMonitoring"))->click();
        QTRY_COMPARE(shown(), QStringLiteral("一時停止||100 行|"));
        QVERIFY(!desktop.tmrCheck.isEnabled());
        window.mnuEnable_Click();

        window.mnuFollow_Click();
        StoreLogView &view = window.rtfLog();
        view.select(8, 3);
        LogScrollView *widget = view.widget();
        widget->verticalScrollBar()->setValue(0);
        QTRY_COMPARE(shown(), QStringLiteral("監視中||100 行|新着 0 行"));
        desktop.write(QStringLiteral("a.log"), "n1\r\nn2\r\nn3\r\n", true);
        QVERIFY(desktop.tmrCheck.tick());
        QCOMPARE(view.selectionStart(), 8);
        QCOMPARE(view.selectionLength(), 3);
        QCOMPARE(widget->verticalScrollBar()->value(), 0);
        QTRY_COMPARE(shown(), QStringLiteral("監視中||103 行|新着 3 行"));

        QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view.caret(), view.textLength());
        QTRY_COMPARE(shown(), QStringLiteral("監視中||103 行|新着 0 行"));
        // The first new line takes the empty place in sight at the bottom; the second is below.
        desktop.write(QStringLiteral("a.log"), "n4\r\nn5\r\n", true);
        QVERIFY(desktop.tmrCheck.tick());
        QTRY_COMPARE(status->newLinesShown(), QStringLiteral("新着 1 行"));
        widget->verticalScrollBar()->setValue(0);
        status->findChild<QToolButton *>(QStringLiteral("statusNewLines"))->click();
        QCOMPARE(view.caret(), view.textLength());
        QTRY_COMPARE(status->newLinesShown(), QStringLiteral("新着 0 行"));
        // After a clear every line below the screen is new, though the view is shorter now.
        window.mnuClear_Click();
        QByteArray more;
        for (int i = 0; i < 60; ++i)
            more += "m" + QByteArray::number(i) + "\r\n";
        desktop.write(QStringLiteral("a.log"), more, true);
        QVERIFY(desktop.tmrCheck.tick());
        widget->verticalScrollBar()->setValue(0);
        QTRY_COMPARE(status->newLinesShown(),
                     QStringLiteral("新着 %1 行").arg(60 - widget->viewLayout().fullLines()));

        view.select(0, 2);
        window.mnuFollow_Click();
        QCOMPARE(view.caret(), view.textLength());
        QTRY_COMPARE(shown(), QStringLiteral("監視中||60 行|"));
    }

    void withoutViewModeOnlyNewLinesShow()
    {
        Desktop desktop;
        desktop.write(QStringLiteral("a.log"), "old\r\n");
        desktop.arguments.text
            = QStringLiteral("/w=\"Web\" ") + desktop.pathOf(QStringLiteral("a.log"));
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(window.windowTitle(), QStringLiteral("Web [a.log] - Pivex"));
        // A title holding Qt's placeholder for unsaved changes shows it as it is.
        window.WindowTitle = QStringLiteral("a[*]b");
        window.setCaption();
        window.winId();
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("a[*]b [a.log] - Pivex"));
        QCOMPARE(viewText(window), QString());
        desktop.write(QStringLiteral("a.log"), "new\r\n", true);
        desktop.tmrCheck.tick();
        QCOMPARE(viewText(window), QStringLiteral("new\r\n"));
    }

    // In the automatic setting a UTF-8 and an EUC-JP file are each read in their own; the
    // file list says so. Another setting (as the options dialog applies it) forgets the
    // decisions; back in the automatic one each file is decided afresh.
    void eachFileInItsOwnCharacterSet()
    {
        Desktop desktop;
        desktop.commandLine(QStringLiteral("/v /c=auto"),
                            {{QStringLiteral("u.log"), "\xEF\xBB\xBF\xE3\x81\x82\n"},
                             {QStringLiteral("e.log"), "\xA4\xA2\n"}});
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(viewText(window), QStringLiteral("あ\r\nあ\r\n"));
        const auto listed = [&](int row) {
            return window.lstFile().data(window.lstFile().index(row), Qt::DisplayRole).toString();
        };
        QCOMPARE(listed(0), QStringLiteral("[UTF-8]  ") + desktop.pathOf(QStringLiteral("u.log")));
        QCOMPARE(listed(1), QStringLiteral("[EUC]  ") + desktop.pathOf(QStringLiteral("e.log")));

        LogViewSettings(window.windowState()).setCharacterSet(0);
        QCOMPARE(listed(0), desktop.pathOf(QStringLiteral("u.log")));
        LogViewSettings(window.windowState()).setCharacterSet(3);
        QCOMPARE(listed(1), QStringLiteral("[未判別]  ") + desktop.pathOf(QStringLiteral("e.log")));
        desktop.write(QStringLiteral("e.log"), "\x82\xA0\n", true);
        desktop.tmrCheck.tick();
        QCOMPARE(listed(1),
                 QStringLiteral("[シフトJIS]  ") + desktop.pathOf(QStringLiteral("e.log")));
    }

    void commandLineOverridesStoredSettingsWithoutWritingThem()
    {
        Desktop desktop;
        QVERIFY(desktop.settings.save(QStringLiteral("PIVEX"), QStringLiteral("Option"),
                                      QStringLiteral("Interval"), QStringLiteral("3000")));
        desktop.arguments.text = QStringLiteral("/i=250 /c=euc /g /k=\"ERR\"");
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(desktop.tmrCheck.interval(), 200);
        QCOMPARE(window.engineState().CharacterSet, 1);
        QVERIFY(window.engineState().grepMode);
        QVERIFY(window.mnuGrepAction()->isChecked());
        QCOMPARE(window.engineState().GrepKeyword, QStringLiteral("ERR"));
        window.close();
        QCOMPARE(desktop.settings.read(QStringLiteral("PIVEX"), QStringLiteral("Option"),
                                       QStringLiteral("Interval"), {}),
                 QStringLiteral("3000"));
    }

    void brokenStoredValueIsReportedAndStartGoesOn()
    {
        Desktop desktop;
        const QString app = QStringLiteral("PIVEX"), section = QStringLiteral("Option");
        desktop.settings.save(app, section, QStringLiteral("Interval"), QStringLiteral("500"));
        desktop.settings.save(app, section, QStringLiteral("Encode"), QStringLiteral("abc"));
        desktop.settings.save(app, section, QStringLiteral("FontSize"), QStringLiteral("20"));
        const QByteArray before = [&] {
            QFile f(desktop.settings.location(app));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();

        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(desktop.messages.texts.size(), 1);
        // It names the values that start at their defaults, and only those.
        QCOMPARE(
            desktop.messages.texts.first(),
            QStringLiteral("設定ファイルの値が正しくありません [") + desktop.settings.location(app)
                + QStringLiteral("] Encode\r\nEncode、FontName、FontSize は既定の値で起動します"));
        QCOMPARE(desktop.tmrCheck.interval(), 500); // loaded before the broken key
        QCOMPARE(window.engineState().CharacterSet, 0); // built-in from there on
        QCOMPARE(window.rtfLog().font().pointSizeF(), 14.0); // not read: built-in
        QFile after(desktop.settings.location(app));
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    // The options dialog opens with the values in force, the command line's included, and
    // its OK stores them.
    void optionsShowAndStoreCommandLineValues()
    {
        Desktop desktop;
        desktop.arguments.text = QStringLiteral("/i=2550 /c=euc");
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        window.mnuOption_Click();
        QWidget *options = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmOptions") && w->isVisible())
                options = w;
        QVERIFY(options);
        window.mnuOption_Click(); // a second time brings the same dialog
        int open = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            open += (w->objectName() == QStringLiteral("frmOptions") && w->isVisible()) ? 1 : 0;
        QCOMPARE(open, 1);

        options->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        const auto stored = [&](const char *key) {
            return desktop.settings.read(QStringLiteral("PIVEX"), QStringLiteral("Option"),
                                         QString::fromLatin1(key), QStringLiteral("absent"));
        };
        QCOMPARE(stored("Interval"), QStringLiteral("2500"));
        QCOMPARE(stored("Encode"), QStringLiteral("1"));
        QCOMPARE(stored("FontName"), window.rtfLog().widget()->fontInfo().family());
        QCOMPARE(stored("FontSize"), QStringLiteral("14"));
    }

    void menusReadAsDesigned()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QStringList captions;
        for (QAction *menu : window.menuBar()->actions()) {
            captions << menu->text();
            for (QAction *item : menu->menu()->actions())
                captions << (item->isSeparator() ? QStringLiteral("-")
                                                 : QStringLiteral("  ") + item->text());
        }
        QCOMPARE(captions.join(u'|'),
                 QStringLiteral(
                     "ファイル(&F)|  監視ファイル指定(&C)|-|  終了(&X)|"
                     "編集(&E)|  コピー(&C)|  表示内容の消去(&D)|  検索(&F)|"
                     "  次を検索(&N)|  前を検索(&P)|"
                     "設定(&S)|  ファイルを監視する(&M)|  末尾に追従(&T)|  変更をすぐに表示(&R)|  "
                     "オプション(&O)|  強調表示(&H)...|-|  grepモード(&G)|  grep文字列設定(&K)|"
                     "ヘルプ(&H)|  Pivexについて(&A)"));
        QVERIFY(window.mnuEnableAction()->isChecked());
        QVERIFY(!window.mnuGrepAction()->isChecked());
        QVERIFY(window.mnuFollowAction()->isChecked());
    }

    void setupMenuShowsWhetherPollingRuns()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        window.mnuEnable_Click();
        QVERIFY(!desktop.tmrCheck.isEnabled());
        QVERIFY(!window.mnuEnableAction()->isChecked());
        desktop.tmrCheck.setEnabled(true); // e.g. resumed after a failure message
        window.mnuSetup_Click();
        QVERIFY(window.mnuEnableAction()->isChecked());
    }

    // 変更をすぐに表示 is on at first; switched off it drops every watch and is kept in a section
    // of its own, which the next start reads.
    void wakeOnChangeIsKeptInItsOwnSection()
    {
        Desktop desktop;
        desktop.commandLine(QString(), {{QStringLiteral("a.log"), "one\r\n"}});
        {
            frmLogView window(desktop.services);
            QVERIFY(window.Form_Load());
            QCOMPARE(desktop.watch.watched.size(), 1);
            window.mnuWake_Click();
            QVERIFY(desktop.watch.watched.isEmpty());
        }
        QCOMPARE(desktop.settings.read(QStringLiteral("PIVEX"), QStringLiteral("Watch"),
                                       QStringLiteral("WakeOnChange"), QString()),
                 QStringLiteral("0"));
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QVERIFY(desktop.watch.watched.isEmpty());
        window.mnuWake_Click();
        QCOMPARE(desktop.watch.watched.size(), 1);
    }

    // The view fills the client area between the menu bar and the status bar after the first
    // show and after every change of size or state, down to a window smaller than the bars.
    void viewFillsTheClientArea()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QWidget *view = window.rtfLog().widget();
        const auto clientArea = [&] {
            const int menu = window.menuBar()->geometry().bottom() + 1;
            const int status = window.statusBar()->isVisible() ? window.statusBar()->height() : 0;
            return QRect(0, menu, window.width(), std::max(0, window.height() - menu - status));
        };
        const auto viewArea = [&] { return QRect(view->mapTo(&window, QPoint()), view->size()); };

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(viewArea(), clientArea());
        for (const QSize size : {QSize(800, 600), QSize(300, 900), QSize(40, 30), QSize(1, 1)}) {
            window.resize(size);
            QTRY_COMPARE(viewArea(), clientArea());
        }
        window.showMaximized();
        QTRY_COMPARE(viewArea(), clientArea());
        window.showNormal();
        QTRY_COMPARE(viewArea(), clientArea());
    }

    void closingStopsPollingAndClosesTheDialogs()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        window.show();
        window.mnuAbout_Click();
        window.mnuSearch_Click();
        window.mnuChange_Click();
        const auto visibleOthers = [&] {
            int n = 0;
            for (QWidget *w : QApplication::topLevelWidgets())
                n += (w != &window && w->isVisible()) ? 1 : 0;
            return n;
        };
        QCOMPARE(visibleOthers(), 3);
        window.mnuExit_Click();
        QVERIFY(!desktop.tmrCheck.isEnabled());
        QCOMPARE(visibleOthers(), 0);
        QVERIFY(desktop.messages.texts.isEmpty()); // nothing asked
    }

    // Rules set in the dialog are in force at once and at the next start; a rule line broken
    // in the file is reported like a broken option and left out.
    void highlightRulesLastAcrossStarts()
    {
        Desktop desktop;
        const HighlightRules ready(HighlightRules::withReadySet({}));
        {
            frmLogView window(desktop.services);
            QVERIFY(window.Form_Load());
            QVERIFY(window.rtfLog().highlightRules().rules().empty()); // none at first
            window.mnuHighlight_Click();
            QWidget *dialog = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("frmHighlight") && w->isVisible())
                    dialog = w;
            QVERIFY(dialog);
            dialog->findChild<QPushButton *>(QStringLiteral("cmdReady"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
            QCOMPARE(window.rtfLog().highlightRules(), ready);
        }
        {
            frmLogView window(desktop.services);
            QVERIFY(window.Form_Load());
            QCOMPARE(window.rtfLog().highlightRules(), ready);
            QVERIFY(desktop.messages.texts.isEmpty());
        }
        desktop.settings.save(QStringLiteral("PIVEX"), QStringLiteral("Highlight"),
                              QStringLiteral("Rule1"), QStringLiteral("line,case,#red,,ERROR"));
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        QCOMPARE(desktop.messages.texts,
                 QStringList {QStringLiteral("設定ファイルの値が正しくありません [")
                              + desktop.settings.location(QStringLiteral("PIVEX"))
                              + QStringLiteral("] Rule1\r\nRule1 は使わずに起動します")});
        QCOMPARE(window.rtfLog().highlightRules().rules().size(), ready.rules().size() - 1);
    }

    // F3 and Shift+F3 in the main window search with the find dialog's word, or open it.
    void functionKeysSearchAgain()
    {
        Desktop desktop;
        frmLogView window(desktop.services);
        QVERIFY(window.Form_Load());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.rtfLog().setText(QStringLiteral("hit one\r\nhit two"));
        window.rtfLog().setCaret(0);
        QTest::keyClick(&window, Qt::Key_F3);
        QLineEdit *word = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmSearch") && w->isVisible())
                word = w->findChild<QLineEdit *>(QStringLiteral("txtWord"));
        QVERIFY(word);
        word->setText(QStringLiteral("hit"));
        QTest::keyClick(&window, Qt::Key_F3);
        QTest::keyClick(&window, Qt::Key_F3);
        QCOMPARE(window.rtfLog().selectionStart(), 9);
        QTest::keyClick(&window, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(window.rtfLog().selectionStart(), 0);
    }
};

QTEST_MAIN(TestFrmLogView)
#include "tst_frmLogView.moc"
