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
#include "highlight/frmHighlight.h"
#include "settings/frmOptions.h"
#include "startup/ProgramIcon.h"
#include "view/StoreLogView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Why the widget's caption does not fit (as drawn: "&" marks an access key), or empty.
QString captionProblem(const QWidget *widget)
{
    QString text;
    QRect room = widget->contentsRect();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        text = label->text();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text().remove(QLatin1Char('&'));
    } else if (const auto *list = qobject_cast<const QComboBox *>(widget)) {
        // Every entry whole in the field beside the arrow.
        for (int i = 0; i < list->count(); ++i)
            text = std::max(text, list->itemText(i), [&](const QString &a, const QString &b) {
                return list->fontMetrics().horizontalAdvance(a)
                    < list->fontMetrics().horizontalAdvance(b);
            });
        QStyleOptionComboBox option;
        option.initFrom(list);
        room = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                             QStyle::SC_ComboBoxEditField, list);
    } else {
        return {};
    }
    const QSize needed = widget->sizeHint();
    const QFontMetrics metrics = widget->fontMetrics();
    if (widget->width() < needed.width() || widget->height() < needed.height()
        || metrics.horizontalAdvance(text) > room.width() || metrics.height() > room.height())
        return widget->objectName() + s(" cuts \"") + text + QLatin1Char('"');
    return {};
}

// The visible widgets placed in a dialog or a group box must not cover each other, nor leave
// it. (Inside a composite widget, such as a spin box, parts overlap by design.)
QString overlapProblem(const QWidget *parent)
{
    QList<const QWidget *> placed;
    for (const QObject *object : parent->children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (child && child->isVisible() && !child->isWindow())
            placed << child;
    }
    for (qsizetype i = 0; i < placed.size(); ++i) {
        if (!parent->rect().contains(placed.at(i)->geometry()))
            return placed.at(i)->objectName() + s(" reaches past its parent");
        for (qsizetype j = i + 1; j < placed.size(); ++j) {
            if (placed.at(i)->geometry().intersects(placed.at(j)->geometry()))
                return placed.at(i)->objectName() + s(" overlaps ") + placed.at(j)->objectName();
        }
    }
    return {};
}

// Everything the dialogs reach, alive for one test row.
struct Host
{
    FakeSettingsTarget settings;
    FakeMessageBox messages;
    EngineState state;
    WatchedFileTable table;
    StoreLogView view;
};

using Factory = std::function<QDialog *(Host &)>;

} // namespace

Q_DECLARE_METATYPE(Factory)

class tst_DialogLayouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsFitAndNothingOverlaps_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<int>("points"); // the desktop's font size; 0: as the platform gives it

        // Five digits once clipped the interval; the longest face name once was cut.
        const auto options = [](Host &h) {
            h.settings.m_interval = 10000;
            h.settings.m_face = s("Noto Sans Mono CJK JP");
            return new frmOptions(h.settings, {}, h.messages,
                                  {{s("Noto Sans Mono CJK JP"), true}, {s("Terminal"), true}});
        };
        const auto fileList = [](Host &h) {
            h.table.append(s("/var/log/アプリケーション/app.log"), 0);
            return new frmFileList(h.table, {});
        };
        // The ready set fills the list; a rule is selected, so every field is enabled.
        const auto highlight = [](Host &h) {
            return new frmHighlight(HighlightRules(HighlightRules::withReadySet({})), {},
                                    h.messages);
        };
        const QList<std::pair<const char *, Factory>> dialogs {
            {"about", [](Host &) { return new frmAbout(ProgramIcon::icon()); }},
            {"keyword", [](Host &h) { return new frmKeyword(h.state); }},
            {"search", [](Host &h) { return new frmSearch(h.view, h.messages); }},
            {"file list", fileList},
            {"options", options},
            {"highlight", highlight},
        };
        for (const auto &[name, make] : dialogs) {
            QTest::addRow("%s, default font", name) << make << 0;
            QTest::addRow("%s, 14 pt", name) << make << 14;
        }
    }

    void captionsFitAndNothingOverlaps()
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
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize()); // fixed at its content's size
        QVERIFY(!dialog->isSizeGripEnabled());

        QString problem = overlapProblem(dialog.get());
        for (const QWidget *widget : dialog->findChildren<QWidget *>()) {
            if (problem.isEmpty() && widget->isVisible())
                problem = qobject_cast<const QGroupBox *>(widget) ? overlapProblem(widget)
                                                                  : captionProblem(widget);
        }
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        // The interval's arrows are as tall as any spin box of the desktop.
        if (const auto *spinner = dialog->findChild<QWidget *>(s("updInterval")))
            QCOMPARE(spinner->height(), QSpinBox().sizeHint().height());
    }
};

QTEST_MAIN(tst_DialogLayouts)
#include "tst_DialogLayouts.moc"
