#include "commands/EditCommands.h"
#include "view/StoreLogView.h"

#include "FakeClipboard.h"
#include "FakeMessageBox.h"
#include "MemoryLimit.h"

#include <QtTest>

namespace {
const QString kConfirm = QStringLiteral("表示内容を消去します。よろしいですか？");
const QString kLog = QStringLiteral("line one\r\nline two\r\nline three\r\n");

struct Fixture
{
    Fixture() { view.setText(kLog); }

    StoreLogView view;
    FakeClipboard clipboard;
    FakeMessageBox messages;
    EditCommands commands {view, clipboard, messages};
};
} // namespace

class tst_EditCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void desktopLineEnds_data();
    void desktopLineEnds();
    void copyPutsSelectionAsPlainText_data();
    void copyPutsSelectionAsPlainText();
    void copyAfterNewTextCopiesNothing();
    void copyTooLargeForMemoryTellsAndGoesOn();
    void clearCancelledLeavesEverything();
    void clearConfirmedEmptiesOnlyTheView();
};

void tst_EditCommands::desktopLineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("CR CR LF") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("LF kept") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("LF CR") << QStringLiteral("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("paragraph separator")
        << (QStringLiteral("a") + QChar(QChar::ParagraphSeparator) + QStringLiteral("b"))
        << QStringLiteral("a\nb");
    QTest::newRow("line separator")
        << (QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b"))
        << QStringLiteral("a\nb");
    QTest::newRow("trailing CR") << QStringLiteral("a\r") << QStringLiteral("a\n");
    QTest::newRow("Japanese untouched") << QStringLiteral("ログ\r\n") << QStringLiteral("ログ\n");
    QTest::newRow("empty") << QString() << QString();
}

void tst_EditCommands::desktopLineEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EditCommands::toDesktopLineEnds(text), expected);
}

void tst_EditCommands::copyPutsSelectionAsPlainText_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing selected") << 3 << 0 << QString();
    QTest::newRow("within a line") << 5 << 3 << QStringLiteral("one");
    QTest::newRow("across lines") << 5 << 9 << QStringLiteral("one\nline");
    QTest::newRow("whole text") << 0 << int(kLog.size())
                                << QStringLiteral("line one\nline two\nline three\n");
}

void tst_EditCommands::copyPutsSelectionAsPlainText()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);

    Fixture f;
    f.clipboard.text = QStringLiteral("stale");
    f.view.select(start, length);
    f.commands.mnuCopy_Click();

    QCOMPARE(f.clipboard.calls, 1);
    QCOMPARE(f.clipboard.text, expected);
    QVERIFY(f.messages.texts.isEmpty());
}

void tst_EditCommands::copyAfterNewTextCopiesNothing()
{
    Fixture f;
    f.view.select(0, 4);
    // A poll appends at the end and drops the selection on the way.
    f.view.setCaret(f.view.textLength());
    f.view.insertAtCaret(QStringLiteral("new\r\n"));
    f.commands.mnuCopy_Click();
    QCOMPARE(f.clipboard.calls, 1);
    QCOMPARE(f.clipboard.text, QString());
}

// Days of log take little memory in the view, but their text as one copy may not fit: the
// copy is refused with a message instead of ending the program.
void tst_EditCommands::copyTooLargeForMemoryTellsAndGoesOn()
{
    SKIP_UNDER_SANITIZERS();
    QVERIFY(inChild(qint64(96) << 20, [] {
        Fixture f;
        const QString lines = QString(998, u'x').append(u"\r\n").repeated(1000);
        for (int i = 0; i < 100; ++i) // 100M units: 200 MB as one text
            f.view.insertAtCaret(lines);
        f.clipboard.text = QStringLiteral("before");
        f.view.select(0, f.view.textLength());
        f.commands.mnuCopy_Click();
        return f.view.textLength() >= qsizetype(100'000'000) && f.clipboard.calls == 0
            && f.clipboard.text == QStringLiteral("before")
            && f.messages.texts
            == QStringList {QStringLiteral("メモリが足りないため、コピーできませんでした")};
    }));
}

void tst_EditCommands::clearCancelledLeavesEverything()
{
    Fixture f;
    f.view.select(5, 8);
    f.messages.answers = {MessageBox::Answer::Cancel};

    QVERIFY(!f.commands.mnuClear_Click());
    QCOMPARE(f.messages.texts, QStringList {kConfirm});
    QCOMPARE(f.messages.asked, QList<bool> {true});
    QCOMPARE(f.view.text(), kLog);
    QCOMPARE(f.view.selectionStart(), 5);
    QCOMPARE(f.view.selectionLength(), 8);
}

void tst_EditCommands::clearConfirmedEmptiesOnlyTheView()
{
    Fixture f;
    f.view.select(5, 8);
    f.messages.answers = {MessageBox::Answer::Ok};

    QVERIFY(f.commands.mnuClear_Click());
    QCOMPARE(f.messages.texts, QStringList {kConfirm});
    QCOMPARE(f.view.textLength(), 0);
    QCOMPARE(f.view.caret(), 0);
    QCOMPARE(f.clipboard.calls, 0);

    // The next poll's text is all the view then holds.
    f.view.insertAtCaret(QStringLiteral("after\r\n"));
    QCOMPARE(f.view.text(), QStringLiteral("after\r\n"));
}

QTEST_MAIN(tst_EditCommands)
#include "tst_EditCommands.moc"
