#include "platform/PlainTextLogView.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

class TestPlainTextLogView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a search finds in text() must select and copy as found: CR LF counts two in the
    // text, the length and every offset. Markup is text like any other.
    void offsetsCountCrLfAsTwo_data()
    {
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("across a break") << u"abc\r\nde"_s << u"abc\r\nde"_s << 2 << 4;
        QTest::newRow("empty line") << u"a\r\n\r\nb"_s << u"a\r\n\r\nb"_s << 3 << 2;
        QTest::newRow("lone CR and LF") << u"a\rb\nc"_s << u"a\r\nb\r\nc"_s << 3 << 3;
        QTest::newRow("no-break space") << u"a\u00A0b\r\n"_s << u"a\u00A0b\r\n"_s << 1 << 4;
        const QString markup = u"<b>bold</b> {\\rtf1\\ansi x} &amp;\r\n"_s;
        QTest::newRow("markup") << markup << markup << 0 << int(markup.size());
    }
    void offsetsCountCrLfAsTwo()
    {
        QFETCH(QString, inserted);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        PlainTextLogView view;
        view.insertAtCaret(inserted);
        QCOMPARE(view.text(), text);
        QCOMPARE(view.textLength(), text.size());
        QCOMPARE(view.caret(), text.size());
        view.select(start, length);
        QCOMPARE(view.selectionStart(), start);
        QCOMPARE(view.selectionLength(), length);
        QCOMPARE(view.selectedText(), text.mid(start, length));
    }

    void userSelectsButCannotType()
    {
        PlainTextLogView view;
        view.setText(u"first\r\nsecond"_s);
        QPlainTextEdit *edit = view.widget();
        QTest::keyClicks(edit, u"typed"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(view.text(), u"first\r\nsecond"_s);

        view.setCaret(0);
        QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), u"fi"_s);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.selectedText(), view.text());
    }

    // The colour chosen with nothing selected stays with later text even though the caret
    // is moved away and back to the end before each append.
    void textColourSurvivesCaretMoves()
    {
        const QColor grey(128, 128, 128);
        PlainTextLogView view;
        view.insertAtCaret(u"old\r\n"_s);
        view.setSelectionTextColor(grey);
        view.setCaret(0);
        view.setCaret(view.textLength());
        view.insertAtCaret(u"new"_s);
        const QTextDocument *document = view.widget()->document();
        const auto colourOf = [](const QTextBlock &block) {
            return block.begin().fragment().charFormat().foreground().color();
        };
        QVERIFY(colourOf(document->firstBlock()) != grey);
        QCOMPARE(colourOf(document->lastBlock()), grey);
    }
};

QTEST_MAIN(TestPlainTextLogView)
#include "tst_PlainTextLogView.moc"
