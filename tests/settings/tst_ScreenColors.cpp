#include "platform/PlainTextLogView.h"
#include "settings/ScreenColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kGrey(128, 128, 128);

// The brush a character of the view is drawn with; NoBrush means the view's own text colour.
QBrush brushAt(PlainTextLogView &view, int documentPosition)
{
    QTextCursor cursor(view.widget()->document());
    cursor.setPosition(documentPosition + 1); // the format of the character before the cursor
    return cursor.charFormat().foreground();
}

QColor background(PlainTextLogView &view)
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
    PlainTextLogView view;
    view.setText(QStringLiteral("old\r\n"));
    view.setCaret(view.textLength());
    const QBrush before = brushAt(view, 0);
    qint32 ScreenColor = 0;

    ScreenColors(view).SetScreenColor(1, ScreenColor);

    QCOMPARE(ScreenColor, 1);
    QCOMPARE(background(view), kBlack);
    QCOMPARE(brushAt(view, 0), before);
    // New log text arrives after the caret has been moved to the end, as the appender does.
    view.setCaret(0);
    view.setCaret(view.textLength());
    view.insertAtCaret(QStringLiteral("new"));
    for (int position = 4; position < 7; ++position)
        QCOMPARE(brushAt(view, position).color(), kGrey);
    QCOMPARE(brushAt(view, 0), before);
}

void tst_ScreenColors::dosWithSelection()
{
    PlainTextLogView view;
    view.setText(QStringLiteral("abcdef"));
    const QBrush before = brushAt(view, 0);
    view.select(2, 2);
    qint32 ScreenColor = 0;

    ScreenColors(view).SetScreenColor(1, ScreenColor);

    QCOMPARE(background(view), kBlack);
    for (int position : {0, 1, 4, 5})
        QCOMPARE(brushAt(view, position), before);
    for (int position : {2, 3})
        QCOMPARE(brushAt(view, position).color(), kGrey);
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
    PlainTextLogView view;
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
    QCOMPARE(brushAt(view, 1).color(), desktopText());
    QVERIFY(desktopBase() != kBlack || desktopText() != kGrey);
}

QTEST_MAIN(tst_ScreenColors)
#include "tst_ScreenColors.moc"
