#include "settings/ScreenColors.h"
#include "view/StoreLogView.h"

#include "view/LogScrollView.h"
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);

// The colour a character of the view is drawn in.
QColor colourAt(StoreLogView &view, int position)
{
    return view.textColorAt(position);
}

QColor background(StoreLogView &view)
{
    return view.widget()->palette().color(QPalette::Base);
}

QColor desktopBase()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor desktopText()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Text);
}

} // namespace

class tst_ScreenColors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dosWithNothingSelected();
    void dosWithSelection();
    void otherSchemesGiveDesktopColours_data();
    void otherSchemesGiveDesktopColours();
};

void tst_ScreenColors::dosWithNothingSelected()
{
    StoreLogView view;
    view.setText(QStringLiteral("old\r\n"));
    view.setCaret(view.textLength());
    const QColor before = colourAt(view, 0);
    qint32 ScreenColor = 0;

    ScreenColors(view).SetScreenColor(1, ScreenColor);

    QCOMPARE(ScreenColor, 1);
    QCOMPARE(background(view), kBlack);
    QCOMPARE(colourAt(view, 0), before);
    // New log text arrives after the caret has been moved to the end, as the appender does.
    view.setCaret(0);
    view.setCaret(view.textLength());
    view.insertAtCaret(QStringLiteral("new"));
    for (int position = 5; position < 8; ++position) // after "old" CR LF
        QCOMPARE(colourAt(view, position), kGrey);
    QCOMPARE(colourAt(view, 0), before);
}

void tst_ScreenColors::dosWithSelection()
{
    StoreLogView view;
    view.setText(QStringLiteral("abcdef"));
    const QColor before = colourAt(view, 0);
    view.select(2, 2);
    qint32 ScreenColor = 0;

    ScreenColors(view).SetScreenColor(1, ScreenColor);

    QCOMPARE(background(view), kBlack);
    for (int position : {0, 1, 4, 5})
        QCOMPARE(colourAt(view, position), before);
    for (int position : {2, 3})
        QCOMPARE(colourAt(view, position), kGrey);
}

void tst_ScreenColors::otherSchemesGiveDesktopColours_data()
{
    QTest::addColumn<qint32>("scheme");
    QTest::newRow("標準") << 0;
    QTest::newRow("グリーンディスプレイ") << 2;
    QTest::newRow("ブルーバック") << 3;
    QTest::newRow("unknown 7") << 7;
    QTest::newRow("negative") << -1;
}

void tst_ScreenColors::otherSchemesGiveDesktopColours()
{
    QFETCH(qint32, scheme);
    StoreLogView view;
    view.setText(QStringLiteral("x"));
    view.setCaret(1);
    qint32 ScreenColor = 0;
    const ScreenColors colors(view);
    // From the DOS scheme, so that a scheme doing nothing would be caught.
    colors.SetScreenColor(1, ScreenColor);

    colors.SetScreenColor(scheme, ScreenColor);

    QCOMPARE(ScreenColor, scheme);
    QCOMPARE(background(view), desktopBase());
    view.insertAtCaret(QStringLiteral("y"));
    QCOMPARE(colourAt(view, 1), desktopText());
    QVERIFY(desktopBase() != kBlack || desktopText() != kGrey);
}

QTEST_MAIN(tst_ScreenColors)
#include "tst_ScreenColors.moc"
