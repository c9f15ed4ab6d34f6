#include "view/LogScrollView.h"
#include "view/StoreLogView.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

long residentBytes()
{
    FILE *statm = std::fopen("/proc/self/statm", "r");
    long size = 0;
    long resident = 0;
    if (statm) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

// The view as the engine and the commands use it: the offsets, selections and copies they
// rely on, whatever the store's block size.
class TestStoreLogView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a search finds in text() must select and copy as found: CR LF counts two in the
    // text, the length and every offset. Markup is text like any other. Small blocks put the
    // block edges inside words, characters' neighbours and line breaks.
    void offsetsCountCrLfAsTwo_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        for (const int blockBytes : {16, int(LogStore::kDefaultBlockBytes)}) {
            const QByteArray size = QByteArray::number(blockBytes);
            QTest::addRow("across a break, %s", size.constData())
                << blockBytes << u"abc\r\nde"_s << u"abc\r\nde"_s << 2 << 4;
            QTest::addRow("empty line, %s", size.constData())
                << blockBytes << u"a\r\n\r\nb"_s << u"a\r\n\r\nb"_s << 3 << 2;
            QTest::addRow("lone CR and LF, %s", size.constData())
                << blockBytes << u"a\rb\nc"_s << u"a\r\nb\r\nc"_s << 3 << 3;
            QTest::addRow("no-break space, %s", size.constData())
                << blockBytes << u"a\u00A0b\r\n"_s << u"a\u00A0b\r\n"_s << 1 << 4;
            const QString markup = u"<b>bold</b> {\\rtf1\\ansi x} &amp;\r\n"_s;
            QTest::addRow("markup, %s", size.constData())
                << blockBytes << markup << markup << 0 << int(markup.size());
            const QString japanese = u"ログの行が二つのブロックをまたぐ ERROR\r\n次の行"_s;
            QTest::addRow("Japanese over block edges, %s", size.constData())
                << blockBytes << japanese << japanese << 5 << 20;
        }
    }
    void offsetsCountCrLfAsTwo()
    {
        QFETCH(int, blockBytes);
        QFETCH(QString, inserted);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        StoreLogView view(nullptr, blockBytes);
        view.insertAtCaret(inserted);
        QCOMPARE(view.text(), text);
        QCOMPARE(view.textLength(), text.size());
        QCOMPARE(view.caret(), text.size());
        view.select(start, length);
        QCOMPARE(view.selectionStart(), start);
        QCOMPARE(view.selectionLength(), length);
        QCOMPARE(view.selectedText(), text.mid(start, length));
        const QString word = text.mid(start, std::min(length, 7));
        for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive})
            QCOMPARE(view.find(word, 0, sensitivity), text.indexOf(word));
        // A position inside a CR LF means the one before the CR.
        const qsizetype lf = text.indexOf(u'\n');
        if (lf > 0) {
            view.setCaret(lf);
            QCOMPARE(view.caret(), lf - 1);
        }
    }

    void userSelectsButCannotType()
    {
        StoreLogView view;
        view.setText(u"first\r\nsecond"_s);
        QWidget *widget = view.widget();
        QTest::keyClicks(widget, u"typed"_s);
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Delete);
        QCOMPARE(view.text(), u"first\r\nsecond"_s);

        view.setCaret(0);
        QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), u"fi"_s);
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.selectedText(), view.text());
        // Ctrl+C asks the main window's copy command; the view copies nothing itself.
        QSignalSpy copies(view.widget(), &LogScrollView::copyRequested);
        QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copies.size(), 1);
    }

    // The colour chosen with nothing selected stays with later text even though the caret
    // is moved away and back to the end before each append.
    void textColourSurvivesCaretMoves()
    {
        const QColor grey(128, 128, 128);
        StoreLogView view;
        view.insertAtCaret(u"old\r\n"_s);
        view.setSelectionTextColor(grey);
        view.setCaret(0);
        view.setCaret(view.textLength());
        view.insertAtCaret(u"new"_s);
        QVERIFY(view.textColorAt(0) != grey);
        QCOMPARE(view.textColorAt(5), grey);
        QCOMPARE(view.textColorAt(7), grey);
    }

    // The old view crashed near 2^31 characters. Lines of one repeated letter compress to
    // almost nothing, so this needs little memory.
    void offsetsPastTwoToTheThirtyOne()
    {
        StoreLogView view;
        const QString chunk = QString(QString(1022, u'a') + u"\r\n"_s).repeated(1024);
        while (view.textLength() <= (qsizetype(1) << 31))
            view.insertAtCaret(chunk);
        view.insertAtCaret(u"the end ログ"_s);
        const qsizetype length = view.textLength();
        QVERIFY(length > (qsizetype(1) << 31));
        QCOMPARE(view.caret(), length);
        const auto hit = view.find(u"ログ"_s, length / 2, Qt::CaseSensitive);
        QCOMPARE(hit, length - 2);
        view.select(*hit - 8, 10);
        QCOMPARE(view.selectionStart(), length - 10);
        QCOMPARE(view.selectedText(), u"the end ログ"_s);
        QCOMPARE(view.lineCount(), length / 1024 + 1);
    }

    // Clearing drops the store's blocks and hands their pages back to the system; they stay
    // in memory here, as they do when the spill file cannot be had.
    void clearGivesTheMemoryBack()
    {
        StoreLogView view(nullptr, LogStore::kDefaultBlockBytes, nullptr);
        QRandomGenerator random(3);
        const long before = residentBytes();
        // Enough that what the store held outweighs what earlier tests left in the heap.
        for (int k = 0; k < 2000; ++k) {
            QString lines;
            for (int n = 0; n < 1000; ++n)
                lines += QString::number(random.generate64(), 36) + u" ログの行\r\n"_s;
            view.insertAtCaret(lines);
        }
        [[maybe_unused]] const long full = residentBytes();
        QVERIFY(view.store().heldBytes() > 4 * 1024 * 1024);
        view.setText(QString());
        QVERIFY(view.store().heldBytes() < 4096);
        QCOMPARE(view.textLength(), 0);
#if !defined(__SANITIZE_ADDRESS__)
        // The sanitizer keeps freed memory quarantined; elsewhere most of it must be gone.
        QVERIFY2(residentBytes() - before < (full - before) / 4,
                 qPrintable(u"%1 %2 %3"_s.arg(before).arg(full).arg(residentBytes())));
#endif
        view.insertAtCaret(u"after\r\n"_s);
        QCOMPARE(view.text(), u"after\r\n"_s);
    }
};

QTEST_MAIN(TestStoreLogView)
#include "tst_StoreLogView.moc"
