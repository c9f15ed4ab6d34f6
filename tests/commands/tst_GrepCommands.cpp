#include "TabWalk.h"
#include "commands/DialogHolder.h"
#include "commands/GrepCommands.h"
#include "commands/frmKeyword.h"
#include "engine/EngineState.h"

#include "FakeMessageBox.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kNoKeyword = QStringLiteral("検索文字列を指定してください");

// keyClicks() takes Latin-1 only; this types any text a key at a time.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class tst_GrepCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grepSwitch_data();
    void grepSwitch();

    void okStoresTextAsTyped_data();
    void okStoresTextAsTyped();
    void closingWithoutOkChangesNothing_data();
    void closingWithoutOkChangesNothing();
    void reopeningLoadsCurrentKeyword();
    void secondOpenBringsSameDialogUnreloaded();
    void tabOrder();

private:
    // Shows the keyword dialog as the menu command does and waits until it takes input.
    frmKeyword *openKeyword(DialogHolder<frmKeyword> &holder)
    {
        frmKeyword *dialog = holder.show();
        if (!QTest::qWaitForWindowActive(dialog))
            return nullptr;
        return dialog;
    }
};

void tst_GrepCommands::grepSwitch_data()
{
    QTest::addColumn<bool>("modeBefore");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("modeAfter");
    QTest::addColumn<bool>("warned");

    QTest::newRow("off, no keyword: refused") << false << QString() << false << true;
    QTest::newRow("off, keyword: on") << false << QStringLiteral("ERR") << true << false;
    QTest::newRow("off, blank keyword counts") << false << QStringLiteral(" ") << true << false;
    QTest::newRow("on, no keyword: off anyway") << true << QString() << false << false;
    QTest::newRow("on, keyword: off") << true << QStringLiteral("ERR") << false << false;
}

void tst_GrepCommands::grepSwitch()
{
    QFETCH(bool, modeBefore);
    QFETCH(QString, keyword);
    QFETCH(bool, modeAfter);
    QFETCH(bool, warned);

    EngineState state;
    state.grepMode = modeBefore;
    state.GrepKeyword = keyword;
    FakeMessageBox messages;
    GrepCommands commands(state, messages);

    QCOMPARE(commands.mnuGrep_Click(), modeAfter);
    QCOMPARE(state.grepMode, modeAfter);
    QCOMPARE(state.GrepKeyword, keyword);
    QCOMPARE(messages.texts, warned ? QStringList {kNoKeyword} : QStringList {});
    if (warned)
        QCOMPARE(messages.asked, QList<bool> {false}); // OK button only
}

void tst_GrepCommands::okStoresTextAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");

    QTest::newRow("blanks kept, Enter") << QStringLiteral("  error ") << true;
    QTest::newRow("blanks kept, button") << QStringLiteral("  error ") << false;
    QTest::newRow("empty accepted") << QString() << true;
    QTest::newRow("Japanese") << QStringLiteral("エラー発生") << true;
}

void tst_GrepCommands::okStoresTextAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);

    EngineState state;
    state.GrepKeyword = QStringLiteral("old");
    state.grepMode = true;
    DialogHolder<frmKeyword> holder([&] { return new frmKeyword(state); });
    QPointer<frmKeyword> dialog = openKeyword(holder);
    QVERIFY(dialog);

    auto *txtKeyword = dialog->findChild<QLineEdit *>(QStringLiteral("txtKeyword"));
    QCOMPARE(QApplication::focusWidget(), txtKeyword);
    txtKeyword->clear();
    typeText(txtKeyword, typed);
    QCOMPARE(txtKeyword->text(), typed);
    if (byEnter)
        QTest::keyClick(txtKeyword, Qt::Key_Return);
    else
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOk")),
                          Qt::LeftButton);

    QCOMPARE(state.GrepKeyword, typed);
    QVERIFY(state.grepMode); // OK never touches the mode, even with an empty keyword
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(!holder.current());
}

void tst_GrepCommands::closingWithoutOkChangesNothing_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Escape") << 0;
    QTest::newRow("キャンセル") << 1;
    QTest::newRow("window frame") << 2;
}

void tst_GrepCommands::closingWithoutOkChangesNothing()
{
    QFETCH(int, way);

    EngineState state;
    state.GrepKeyword = QStringLiteral("keep");
    DialogHolder<frmKeyword> holder([&] { return new frmKeyword(state); });
    QPointer<frmKeyword> dialog = openKeyword(holder);
    QVERIFY(dialog);
    auto *txtKeyword = dialog->findChild<QLineEdit *>(QStringLiteral("txtKeyword"));
    QTest::keyClicks(txtKeyword, QStringLiteral("typed"));

    if (way == 0)
        QTest::keyClick(txtKeyword, Qt::Key_Escape);
    else if (way == 1)
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
    else
        dialog->close();

    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(state.GrepKeyword, QStringLiteral("keep"));
}

void tst_GrepCommands::reopeningLoadsCurrentKeyword()
{
    EngineState state;
    state.GrepKeyword = QStringLiteral("first");
    DialogHolder<frmKeyword> holder([&] { return new frmKeyword(state); });

    QPointer<frmKeyword> dialog = openKeyword(holder);
    QVERIFY(dialog);
    auto *txtKeyword = dialog->findChild<QLineEdit *>(QStringLiteral("txtKeyword"));
    QCOMPARE(txtKeyword->text(), QStringLiteral("first"));
    txtKeyword->setText(QStringLiteral("second"));
    QTest::keyClick(txtKeyword, Qt::Key_Enter); // the keypad's Enter too

    // Reopened at once, before the closed one is gone: a fresh dialog all the same.
    dialog = openKeyword(holder);
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("txtKeyword"))->text(),
             QStringLiteral("second"));
    QCOMPARE(state.GrepKeyword, QStringLiteral("second"));
}

void tst_GrepCommands::secondOpenBringsSameDialogUnreloaded()
{
    EngineState state;
    state.GrepKeyword = QStringLiteral("kw");
    DialogHolder<frmKeyword> holder([&] { return new frmKeyword(state); });
    frmKeyword *first = openKeyword(holder);
    QVERIFY(first);
    auto *txtKeyword = first->findChild<QLineEdit *>(QStringLiteral("txtKeyword"));
    txtKeyword->setText(QStringLiteral("being edited"));

    QCOMPARE(holder.show(), first);
    QCOMPARE(txtKeyword->text(), QStringLiteral("being edited"));
    QCOMPARE(first->windowTitle(), QStringLiteral("grep文字列指定"));
    QVERIFY(!first->parentWidget()); // no owner window
    QVERIFY(!first->isModal());
}

void tst_GrepCommands::tabOrder()
{
    EngineState state;
    DialogHolder<frmKeyword> holder([&] { return new frmKeyword(state); });
    frmKeyword *dialog = openKeyword(holder);
    QVERIFY(dialog);
    QCOMPARE(tabWalk(dialog, 3),
             (QStringList {QStringLiteral("txtKeyword"), QStringLiteral("cmdOk"),
                           QStringLiteral("cmdCancel"), QStringLiteral("txtKeyword")}));
}

QTEST_MAIN(tst_GrepCommands)
#include "tst_GrepCommands.moc"
