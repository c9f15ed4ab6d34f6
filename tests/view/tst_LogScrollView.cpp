#include "highlight/HighlightRules.h"
#include "view/ColourRuns.h"
#include "view/LogScrollView.h"
#include "view/OverviewScanner.h"
#include "view/StoreLogView.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A billion lines of "%08d" CR LF, made up on demand; remembers the lines it was read from.
class BillionLines : public TextSource
{
public:
    static constexpr qint64 kLines = 1000000000;
    static constexpr qint64 kWidth = 10;

    qint64 size() const override { return kLines * kWidth - 2; }
    qint64 lineCount() const override { return kLines; }
    StoreOffset lineStart(LineNo line) const override
    {
        return StoreOffset(std::clamp<qint64>(line.value, 0, kLines) * kWidth);
    }
    LineNo lineOf(StoreOffset offset) const override
    {
        return LineNo(std::clamp<qint64>(offset.value, 0, size()) / kWidth);
    }
    ReadResult read(StoreOffset offset, qint64 maxUnits) const override
    {
        ReadResult result;
        for (qint64 at = offset.value; at < std::min(size(), offset.value + maxUnits); ++at) {
            const QString line = QString::number(at / kWidth).rightJustified(8, u'0') + u"\r\n"_s;
            result.text += line.at(at % kWidth);
            linesRead.insert(at / kWidth);
        }
        return result;
    }
    mutable QSet<qint64> linesRead;
};

// The point in the viewport where offset's character begins, as the layout puts it.
QPoint pointAt(const LogScrollView &view, qsizetype offset)
{
    return view.viewLayout().caretRect(StoreOffset(offset)).center() + QPoint(1, 0);
}

struct ShownView
{
    explicit ShownView(const QString &text, qsizetype blockBytes = 64)
        : view(nullptr, blockBytes)
    {
        view.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        view.widget()->resize(400, 200);
        view.widget()->show();
        view.setText(text);
    }
    LogScrollView &widget() { return *view.widget(); }
    StoreLogView view;
};

const QString kText = u"first line\r\nsecond ログ line\r\n\r\nfourth alpha beta\r\nlast"_s;

} // namespace

class TestLogScrollView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Painting reads the lines in sight and no others, however long the text.
    void paintReadsOnlyVisibleLines()
    {
        BillionLines source;
        ColourRuns colours;
        LogScrollView view(source, colours);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        source.linesRead.clear();
        view.grab();
        const qint64 shown = view.viewLayout().shownLines();
        QVERIFY(!source.linesRead.isEmpty());
        QVERIFY2(source.linesRead.size() <= shown + 1, qPrintable(QString::number(shown)));
        // The bar scales a billion lines into its int range and still reaches the last.
        QCOMPARE(view.viewLayout().topLine(), view.viewLayout().lastTopLine());
        QVERIFY(source.linesRead.contains(BillionLines::kLines - 1));
    }

    // The horizontal bar is there only when a line is wider than the view.
    void horizontalBarOnlyForWideLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bar");
        QTest::newRow("short lines") << kText << false;
        QTest::newRow("a line wider than the view") << kText + QString(200, u'x') << true;
    }
    void horizontalBarOnlyForWideLines()
    {
        QFETCH(QString, text);
        QFETCH(bool, bar);
        ShownView shown(text);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.widget()));
        QTRY_COMPARE(shown.widget().horizontalScrollBar()->isVisible(), bar);
    }

    // Press, drag and release at points the layout computed select what lies between.
    void mouseSelects_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("within a line") << 2 << 8;
        QTest::newRow("backwards over lines") << 30 << 3;
        QTest::newRow("over Japanese and a block edge") << 12 << 40;
    }
    void mouseSelects()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        ShownView shown(kText, 16);
        QWidget *viewport = shown.widget().viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, pointAt(shown.widget(), from));
        QTest::mouseMove(viewport, pointAt(shown.widget(), to));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointAt(shown.widget(), to));
        QCOMPARE(shown.view.selectionStart(), std::min(from, to));
        QCOMPARE(shown.view.selectedText(), kText.mid(std::min(from, to), std::abs(to - from)));
        QCOMPARE(shown.widget().selection().caret, StoreOffset(to));

        // Shift+click moves the caret's end only.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, pointAt(shown.widget(), 45));
        QCOMPARE(shown.widget().selection().anchor, StoreOffset(from));
        QCOMPARE(shown.widget().selection().caret, StoreOffset(45));
    }

    void doubleAndTripleClick()
    {
        ShownView shown(kText);
        QWidget *viewport = shown.widget().viewport();
        const qsizetype alpha = kText.indexOf(u"alpha"_s);
        const QPoint point = pointAt(shown.widget(), alpha + 2);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
        QCOMPARE(shown.view.selectedText(), u"alpha"_s);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
        QCOMPARE(shown.view.selectedText(), u"fourth alpha beta"_s);
    }

    // Keys move by characters, a CR LF and a surrogate pair each being one step.
    void keysMoveAndExtend_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("moved");
        const auto shift = [](Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); };
        QTest::newRow("right over CR LF") << 10 << shift(Qt::Key_Right) << 10 << 12;
        QTest::newRow("left over CR LF") << 12 << shift(Qt::Key_Left) << 12 << 10;
        QTest::newRow("down keeps the column") << 3 << shift(Qt::Key_Down) << 3 << 15;
        QTest::newRow("end of line") << 14 << shift(Qt::Key_End) << 14 << 26;
        QTest::newRow("home") << 20 << QKeyCombination(Qt::Key_Home) << 12 << 12;
        QTest::newRow("document end")
            << 0 << QKeyCombination(Qt::ControlModifier, Qt::Key_End) << 53 << 53;
        QTest::newRow("right collapses nothing extra")
            << 0 << QKeyCombination(Qt::Key_Right) << 1 << 1;
    }
    void keysMoveAndExtend()
    {
        QFETCH(int, caret);
        QFETCH(QKeyCombination, key);
        QFETCH(int, anchor);
        QFETCH(int, moved);
        ShownView shown(kText);
        shown.view.setCaret(caret);
        QTest::keyClick(&shown.widget(), key.key(), key.keyboardModifiers());
        QCOMPARE(shown.widget().selection().anchor.value, anchor);
        QCOMPARE(shown.widget().selection().caret.value, moved);
    }

    // Screen readers get a window of the text with int offsets from its start; here the whole
    // text fits in it.
    void accessibleText()
    {
        ShownView shown(kText);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&shown.widget());
        QVERIFY(accessible);
        QAccessibleTextInterface *text = accessible->textInterface();
        QVERIFY(text);
        QVERIFY(accessible->state().readOnly);
        QVERIFY(accessible->state().multiLine);
        QCOMPARE(accessible->text(QAccessible::Name), u"ログ"_s);
        for (int i = 0; i < accessible->childCount(); ++i) // the gutter is hidden: one file
            QVERIFY(!accessible->child(i)->state().invisible);
        QCOMPARE(text->characterCount(), kText.size());
        QCOMPARE(text->text(0, text->characterCount()), kText);

        shown.view.select(12, 6);
        int start = -1;
        int end = -1;
        QCOMPARE(text->selectionCount(), 1);
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(12, 18));
        QCOMPARE(text->cursorPosition(), 18);

        text->setSelection(0, 0, 5);
        QCOMPARE(shown.view.selectedText(), u"first"_s);
        QCOMPARE(text->textAtOffset(14, QAccessible::LineBoundary, &start, &end),
                 u"second ログ line\r\n"_s);
        QCOMPARE(std::pair(start, end), std::pair(12, 28));
        QCOMPARE(text->offsetAtPoint(
                     shown.widget().viewport()->mapToGlobal(pointAt(shown.widget(), 40))),
                 40);
    }

    // The strip beside the scroll bar is there only while something is marked, takes its room
    // from the viewport, and a click on a mark brings that line into sight.
    void overviewStripGoesToAMark()
    {
        QString text;
        for (int line = 0; line < 200; ++line)
            text += (line == 150 ? u"an ERROR here"_s : u"fine"_s) + u"\r\n"_s;
        ShownView shown(text, LogStore::kDefaultBlockBytes);
        auto *strip = shown.widget().findChild<QWidget *>(u"overview"_s);
        QVERIFY(strip && !strip->isVisible());
        QCoreApplication::processEvents(); // the scroll bar's layout
        const int width = shown.widget().viewport()->width();

        shown.view.setHighlightRules(HighlightRules(HighlightRules::withReadySet({})));
        QTRY_VERIFY(!shown.view.overview().isBusy());
        QVERIFY(strip->isVisible());
        QCOMPARE(shown.widget().viewport()->width() + strip->width(), width);
        const int row = OverviewMarks::rowOf(LineNo(150), shown.view.lineCount(), strip->height());
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(2, row + 1));
        QCOMPARE(shown.view.caret(), shown.view.store().lineStart(LineNo(150)).value);
        const ViewLayout &layout = shown.widget().viewLayout();
        QVERIFY(layout.topLine() <= LineNo(150)
                && LineNo(150) < layout.topLine() + layout.fullLines());

        shown.view.setHighlightRules({});
        QVERIFY(!strip->isVisible());
        QCOMPARE(shown.widget().viewport()->width(), width);
    }
};

QTEST_MAIN(TestLogScrollView)
#include "tst_LogScrollView.moc"
