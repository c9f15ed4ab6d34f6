#include "TabWalk.h"
#include "commands/DialogHolder.h"
#include "engine/WatchedFileTable.h"
#include "files/frmFileList.h"

#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

// The dialog on a real table, with the main window's operations played by small stand-ins
// that act on the table the way the real ones do.
struct Fixture
{
    explicit Fixture(const QStringList &paths)
    {
        for (const QString &path : paths)
            addPath(path);
    }

    void addPath(const QString &path)
    {
        const int slot = table.getIndex();
        table.append(path, slot);
        table.setFilePointer(slot, 1);
    }

    frmFileList *make()
    {
        frmFileList::Actions actions;
        actions.addFile = [this] {
            ++addCalls;
            if (!nextChoice.isEmpty())
                addPath(nextChoice);
        };
        actions.removeFile = [this](int lngIndex) {
            removed << lngIndex;
            table.setFilePointer(*table.itemData(lngIndex), 0);
            table.removeAt(lngIndex);
        };
        actions.setCaption = [this] { captions << table.count(); };
        return new frmFileList(table, std::move(actions));
    }

    frmFileList *open()
    {
        frmFileList *dialog = holder.show();
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    QListView *list()
    {
        return holder.current()->findChild<QListView *>(QStringLiteral("lstFile"));
    }
    QPushButton *button(const char *name)
    {
        return holder.current()->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    void select(int row) { list()->setCurrentIndex(table.index(row)); }
    QStringList paths() const
    {
        QStringList result;
        for (int i = 0; i < table.count(); ++i)
            result << table.path(i);
        return result;
    }

    WatchedFileTable table;
    QString nextChoice;
    int addCalls = 0;
    QList<int> removed;
    QList<int> captions; // list length at each caption refresh
    DialogHolder<frmFileList> holder {[this] { return make(); }};
};

} // namespace

class tst_frmFileList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void confirmingHidesAndRefreshesCaption_data();
    void confirmingHidesAndRefreshesCaption();
    void escapeDoesNothing();
    void listSurvivesHidingAndReopening();
    void removeTakesOnlySelectedEntry();
    void addRunsAddFlowWithoutCaption();
    void createdHiddenAndSingle();
    void tabOrder();
};

void tst_frmFileList::confirmingHidesAndRefreshesCaption_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Enter in the list") << 0;
    QTest::newRow("OK clicked") << 1;
    QTest::newRow("window frame") << 2;
}

void tst_frmFileList::confirmingHidesAndRefreshesCaption()
{
    QFETCH(int, way);

    Fixture f({QStringLiteral("/var/log/a.log"), QStringLiteral("/var/log/b.log")});
    QPointer<frmFileList> dialog = f.open();
    QVERIFY(dialog);
    QCOMPARE(QApplication::focusWidget(), f.list());
    f.select(1);

    if (way == 0)
        QTest::keyClick(f.list(), Qt::Key_Return);
    else if (way == 1)
        QTest::mouseClick(f.button("cmdOk"), Qt::LeftButton);
    else
        QVERIFY(dialog->close());

    QCOMPARE(f.captions, QList<int> {2});
    QVERIFY(dialog->isHidden());
    QTest::qWait(0);
    QVERIFY(dialog); // only ever hidden
    QCOMPARE(f.holder.current(), dialog.data());
    QCOMPARE(f.table.count(), 2);
}

void tst_frmFileList::escapeDoesNothing()
{
    Fixture f({QStringLiteral("a.log")});
    frmFileList *dialog = f.open();
    QVERIFY(dialog);
    QTest::keyClick(f.list(), Qt::Key_Escape);
    QTest::keyClick(f.button("cmdAdd"), Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    QVERIFY(f.captions.isEmpty());
    QCOMPARE(f.addCalls, 0);
}

void tst_frmFileList::listSurvivesHidingAndReopening()
{
    Fixture f({QStringLiteral("a.log"), QStringLiteral("b.log")});
    frmFileList *dialog = f.open();
    QVERIFY(dialog);
    dialog->close();
    QTest::qWait(0);

    f.addPath(QStringLiteral("c.log")); // the list stays live while hidden
    QCOMPARE(f.open(), dialog);
    QCOMPARE(f.list()->model()->rowCount(), 3);
    QCOMPARE(f.list()->model()->index(2, 0).data().toString(), QStringLiteral("c.log"));
    QTest::mouseClick(f.button("cmdOk"), Qt::LeftButton);
    QCOMPARE(f.open(), dialog);
    QCOMPARE(
        f.paths(),
        (QStringList {QStringLiteral("a.log"), QStringLiteral("b.log"), QStringLiteral("c.log")}));
}

void tst_frmFileList::removeTakesOnlySelectedEntry()
{
    Fixture f({QStringLiteral("a.log"), QStringLiteral("b.log"), QStringLiteral("c.log")});
    QVERIFY(f.open());

    // No selection: nothing, even with a current row.
    QTest::mouseClick(f.button("cmdRemove"), Qt::LeftButton);
    QVERIFY(f.removed.isEmpty());

    const QRect middle = f.list()->visualRect(f.list()->model()->index(1, 0));
    QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {}, middle.center());
    QTest::mouseClick(f.button("cmdRemove"), Qt::LeftButton);
    QCOMPARE(f.removed, QList<int> {1});
    QCOMPARE(f.paths(), (QStringList {QStringLiteral("a.log"), QStringLiteral("c.log")}));
    QCOMPARE(f.table.itemData(1), std::optional<int>(2)); // slots stay with their entries

    // Nothing stays selected, so a second press (a double click) drops nothing more.
    QVERIFY(!f.list()->selectionModel()->hasSelection());
    QTest::mouseClick(f.button("cmdRemove"), Qt::LeftButton);
    QCOMPARE(f.removed, QList<int> {1});
    QVERIFY(f.captions.isEmpty()); // the caption waits for OK
}

void tst_frmFileList::addRunsAddFlowWithoutCaption()
{
    Fixture f({});
    QVERIFY(f.open());
    f.nextChoice = QStringLiteral("/tmp/new.log");
    QTest::mouseClick(f.button("cmdAdd"), Qt::LeftButton);
    QCOMPARE(f.addCalls, 1);
    QCOMPARE(f.list()->model()->rowCount(), 1);
    QVERIFY(f.captions.isEmpty());

    // Enter on the focused add button adds again: only the list routes Enter to OK.
    f.nextChoice.clear();
    f.button("cmdAdd")->setFocus();
    QTest::keyClick(f.button("cmdAdd"), Qt::Key_Return);
    QCOMPARE(f.addCalls, 2);
    QVERIFY(f.captions.isEmpty());
}

void tst_frmFileList::createdHiddenAndSingle()
{
    Fixture f({});
    frmFileList *dialog = f.holder.instance();
    QVERIFY(dialog->isHidden());
    QCOMPARE(f.holder.instance(), dialog);
    QCOMPARE(f.open(), dialog);
    QCOMPARE(f.open(), dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("監視ファイル指定"));
    QVERIFY(!dialog->parentWidget());
    QVERIFY(!dialog->isModal());
}

void tst_frmFileList::tabOrder()
{
    Fixture f({QStringLiteral("a.log")});
    frmFileList *dialog = f.open();
    QVERIFY(dialog);
    QCOMPARE(tabWalk(dialog, 4),
             (QStringList {QStringLiteral("lstFile"), QStringLiteral("cmdAdd"),
                           QStringLiteral("cmdRemove"), QStringLiteral("cmdOk"),
                           QStringLiteral("lstFile")}));
}

QTEST_MAIN(tst_frmFileList)
#include "tst_frmFileList.moc"
