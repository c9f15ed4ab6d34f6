// What a user sees of every dialog: each caption whole inside its widget, no control over
// another or past the dialog's edge, the interval spinner of normal size, the dialog fixed at
// its content's size. Run at the desktop's default font and at 14 points; ctest runs the
// program a second time at twice the scale (QT_SCALE_FACTOR=2).
#include "FakeMessageBox.h"
#include "FakeSettingsTarget.h"
#include "commands/frmAbout.h"
#include "commands/frmKeyword.h"
#include "commands/frmSearch.h"
#include "engine/EngineState.h"
#include "engine/WatchedFileTable.h"
#include "files/frmFileList.h"
#include "platform/PlainTextLogView.h"
#include "settings/frmOptions.h"
#include "startup/ProgramIcon.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// The text as drawn: "&" marks an access key and is not shown.
QString shown(QString text)
{
    return text.remove(QLatin1Char('&'));
}

QString describe(const QWidget *widget)
{
    return widget->objectName() + QLatin1Char(' ')
        + QLatin1String(widget->metaObject()->className());
}

// Why the widget's caption does not fit, or empty when it does.
QString captionProblem(const QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = shown(button->text());
    const QSize needed = widget->sizeHint();
    if (widget->width() < needed.width() || widget->height() < needed.height())
        return describe(widget) + s(" is smaller than it needs");
    const QRect room = widget->contentsRect();
    if (!text.isEmpty()
        && (metrics.horizontalAdvance(text) > room.width() || metrics.height() > room.height()))
        return describe(widget) + s(" cuts \"") + text + QLatin1Char('"');
    return {};
}

// The visible widgets placed in a dialog or a group box must not cover each other, nor leave
// it. (Inside a composite widget, such as a spin box, parts overlap by design.)
QString overlapProblem(const QWidget *parent)
{
    QList<const QWidget *> shownChildren;
    for (const QObject *object : parent->children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (child && child->isVisible() && !child->isWindow())
            shownChildren << child;
    }
    for (qsizetype i = 0; i < shownChildren.size(); ++i) {
        const QWidget *a = shownChildren.at(i);
        if (!parent->rect().contains(a->geometry()))
            return describe(a) + s(" reaches past ") + describe(parent);
        for (qsizetype j = i + 1; j < shownChildren.size(); ++j) {
            if (a->geometry().intersects(shownChildren.at(j)->geometry()))
                return describe(a) + s(" overlaps ") + describe(shownChildren.at(j));
        }
    }
    return {};
}

// The faces the options dialog lists, the longest name of a usual Debian desktop among them.
const QList<ViewFonts::Face> kFaces {
    {s("Noto Sans Mono CJK JP"), true}, {s("DejaVu Sans Mono"), true}, {s("Terminal"), true}};

// Everything the dialogs reach, alive for one test row.
struct Host
{
    FakeSettingsTarget settings;
    FakeMessageBox messages;
    EngineState state;
    WatchedFileTable table;
    PlainTextLogView view;
};

using Factory = std::function<QDialog *(Host &)>;

} // namespace

Q_DECLARE_METATYPE(Factory)

class tst_DialogLayouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsFitAndNothingOverlaps_data();
    void captionsFitAndNothingOverlaps();
};

void tst_DialogLayouts::captionsFitAndNothingOverlaps_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<int>("points"); // the desktop's font size; 0: as the platform gives it

    const QList<std::pair<const char *, Factory>> dialogs {
        {"about", [](Host &) { return new frmAbout(ProgramIcon::icon()); }},
        {"keyword", [](Host &h) { return new frmKeyword(h.state); }},
        {"search", [](Host &h) { return new frmSearch(h.view, h.messages); }},
        {"file list",
         [](Host &h) {
             h.table.append(s("/var/log/アプリケーション/app.log"), 0);
             return new frmFileList(h.table, {});
         }},
        // Five digits once clipped the interval's value; the longest face once was cut.
        {"options",
         [](Host &h) {
             h.settings.m_interval = 10000;
             h.settings.m_face = s("Noto Sans Mono CJK JP");
             return new frmOptions(h.settings, {}, h.messages, kFaces);
         }},
    };
    for (const auto &[name, make] : dialogs) {
        QTest::addRow("%s, default font", name) << make << 0;
        QTest::addRow("%s, 14 pt", name) << make << 14;
    }
}

void tst_DialogLayouts::captionsFitAndNothingOverlaps()
{
    QFETCH(Factory, make);
    QFETCH(int, points);

    const QFont desktopFont = QApplication::font();
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(desktopFont); });
    if (points > 0) {
        QFont font = desktopFont;
        font.setPointSize(points);
        QApplication::setFont(font);
    }

    Host host;
    std::unique_ptr<QDialog> dialog(make(host));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    // Fixed at its content's size: no grip, no way to make it smaller than its captions.
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!dialog->isSizeGripEnabled());

    QString problem = overlapProblem(dialog.get());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const QList<QWidget *> widgets = dialog->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (!widget->isVisible())
            continue;
        if (qobject_cast<const QGroupBox *>(widget))
            problem = overlapProblem(widget);
        if (problem.isEmpty()
            && (qobject_cast<const QLabel *>(widget)
                || qobject_cast<const QAbstractButton *>(widget)
                || qobject_cast<const QComboBox *>(widget)))
            problem = captionProblem(widget);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The interval's arrows are as tall as any spin box of the desktop.
    if (const auto *spinner = dialog->findChild<QAbstractSpinBox *>(s("updInterval"))) {
        QSpinBox normal;
        QCOMPARE(spinner->height(), normal.sizeHint().height());
    }
}

QTEST_MAIN(tst_DialogLayouts)
#include "tst_DialogLayouts.moc"
