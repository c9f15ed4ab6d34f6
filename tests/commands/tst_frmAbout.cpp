#include "commands/DialogHolder.h"
#include "commands/frmAbout.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {
QPixmap makeIcon(int side)
{
    QPixmap icon(side, side);
    icon.fill(Qt::darkCyan);
    return icon;
}

QString title(QWidget *dialog)
{
    return dialog->findChild<QLabel *>(QStringLiteral("lblTitle"))->text();
}
} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closesByKeyOrButton_data();
    void closesByKeyOrButton();
    void titleNeverDoubledOnReopen();
    void secondOpenBringsSameBox();
};

void tst_frmAbout::closesByKeyOrButton_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Enter") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("OK clicked") << 2;
}

void tst_frmAbout::closesByKeyOrButton()
{
    QFETCH(int, way);

    DialogHolder<frmAbout> holder([] { return new frmAbout(makeIcon(32)); });
    QPointer<frmAbout> box = holder.show();
    QVERIFY(QTest::qWaitForWindowActive(box));
    auto *cmdOk = box->findChild<QPushButton *>(QStringLiteral("cmdOk"));
    QCOMPARE(QApplication::focusWidget(), cmdOk);

    if (way == 0)
        QTest::keyClick(box, Qt::Key_Return);
    else if (way == 1)
        QTest::keyClick(box, Qt::Key_Escape);
    else
        QTest::mouseClick(cmdOk, Qt::LeftButton);
    QTRY_VERIFY(box.isNull());
    QVERIFY(!holder.current());
}

void tst_frmAbout::titleNeverDoubledOnReopen()
{
    DialogHolder<frmAbout> holder([] { return new frmAbout(makeIcon(32)); });
    for (int opening = 0; opening < 3; ++opening) {
        QPointer<frmAbout> box = holder.show();
        QVERIFY(QTest::qWaitForWindowActive(box));
        QCOMPARE(title(box), QStringLiteral("Pivex Ver1.03"));
        QTest::keyClick(box, Qt::Key_Escape);
        if (opening == 1)
            QTRY_VERIFY(box.isNull()); // once with the old one gone, once while it lingers
    }
}

void tst_frmAbout::secondOpenBringsSameBox()
{
    DialogHolder<frmAbout> holder([] { return new frmAbout(QPixmap()); });
    frmAbout *first = holder.show();
    QCOMPARE(holder.show(), first);
    QCOMPARE(first->windowTitle(), QStringLiteral("Pivexについて"));
    QVERIFY(!first->parentWidget());
    QVERIFY(!first->isModal());
    QCOMPARE(title(first), QStringLiteral("Pivex Ver1.03"));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
