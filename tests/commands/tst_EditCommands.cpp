#include "commands/EditCommands.h"
#include "view/LogScrollView.h"
#include "view/SelectionCopy.h"
#include "view/StoreLogView.h"

#include "FakeClipboard.h"
#include "FakeMessageBox.h"
#include "MemoryLimit.h"

#include <QtTest>

using namespace Qt::StringLiterals;

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
    void copyMakesDesktopText_data();
    void copyMakesDesktopText();
    void copyAfterNewTextCopiesNothing();
    void copyTooLargeForMemoryTellsAndGoesOn();
    void clearCancelledLeavesEverything();
    void clearConfirmedEmptiesOnlyTheView();
};

// The text a paste gets: LF line ends, everything else as it is (U+2028 inside a line too);
// with file names each line starts with its file's name and a tab. Every piece size puts the
// pieces' edges elsewhere, between a CR and its LF too.
void tst_EditCommands::copyMakesDesktopText_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("withNames");
    QTest::addColumn<QString>("expected");
    // a.log: "a1", b.log: "b2 \u2028x", "😀end"; none: "free"
    QTest::newRow("nothing selected") << 3 << 0 << false << QString();
    QTest::newRow("within a line") << 4 << 2 << false << u"b2"_s;
    QTest::newRow("across lines") << 0 << 8 << false << u"a1\nb2 \u2028"_s;
    QTest::newRow("whole text") << 0 << 30 << false << u"a1\nb2 \u2028x\n😀end\nfree\n"_s;
    QTest::newRow("names, whole text")
        << 0 << 30 << true << u"a.log\ta1\nb.log\tb2 \u2028x\nb.log\t😀end\n\tfree\n"_s;
    QTest::newRow("names, from inside a line") << 5 << 8 << true << u"b.log\t2 \u2028x\nb.log\t😀"_s;
    QTest::newRow("names, ending at a line end") << 0 << 4 << true << u"a.log\ta1\n"_s;
}

void tst_EditCommands::copyMakesDesktopText()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, withNames);
    QFETCH(QString, expected);
    Fixture f;
    f.view.setText(QString());
    f.view.insertAtCaret(u"a1\r\n"_s, 1);
    f.view.insertAtCaret(u"b2 \u2028x\r\n😀end\r\n"_s, 2);
    f.view.insertAtCaret(u"free\r\n"_s, 0);
    f.view.widget()->setOriginNamer([](quint16 origin) -> std::optional<OriginMark> {
        return OriginMark {origin, origin == 1 ? u"/var/log/a.log"_s : u"/srv/b.log"_s};
    });
    f.view.select(start, length);
    f.commands.mnuCopy_Click();
    if (withNames)
        f.commands.copyWithFileNames();
    QCOMPARE(f.clipboard.calls, withNames ? 2 : 1);
    QCOMPARE(f.clipboard.paste(), std::optional<QString>(expected));
    for (const qint64 piece : {1, 2, 3, 5, 7}) {
        const SelectionCopy copy(f.view.widget(), f.view.widget()->selection(), withNames,
                                 f.view.widget()->originNamer(), piece);
        QByteArray utf8;
        SilentProgress progress;
        QCOMPARE(copy.make(utf8, progress), ClipboardText::Outcome::Made);
        QCOMPARE(QString::fromUtf8(utf8), expected);
    }
    // A paste the user stops gets nothing.
    const SelectionCopy copy(f.view.widget(), f.view.widget()->selection(), withNames, {}, 2);
    QByteArray utf8;
    SilentProgress stopAtOnce(0);
    QCOMPARE(copy.make(utf8, stopAtOnce),
             length > 0 ? ClipboardText::Outcome::Cancelled : ClipboardText::Outcome::Made);
    QVERIFY(utf8.isEmpty());
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
    QCOMPARE(f.clipboard.paste(), std::optional<QString>(QString()));
}

// Days of log take little memory in the view, but their text as one copy may not fit: the
// paste gets nothing and a message says why, instead of the program ending.
void tst_EditCommands::copyTooLargeForMemoryTellsAndGoesOn()
{
    SKIP_UNDER_SANITIZERS();
    QVERIFY(inChild(qint64(96) << 20, [] {
        Fixture f;
        const QString lines = QString(998, u'x').append(u"\r\n").repeated(1000);
        for (int i = 0; i < 100; ++i) // 100M units: 100 MB as UTF-8
            f.view.insertAtCaret(lines);
        f.view.select(0, f.view.textLength());
        f.commands.mnuCopy_Click();
        return f.view.textLength() >= qsizetype(100'000'000) && !f.clipboard.paste()
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

    f.commands.mnuCopy_Click(); // made only once pasted, which the clear must not prevent

    QVERIFY(f.commands.mnuClear_Click());
    QCOMPARE(f.messages.texts, QStringList {kConfirm});
    QCOMPARE(f.view.textLength(), 0);
    QCOMPARE(f.view.caret(), 0);
    QCOMPARE(f.clipboard.calls, 1);
    QCOMPARE(f.clipboard.paste(), std::optional<QString>(u"one\nlin"_s));

    // The next poll's text is all the view then holds.
    f.view.insertAtCaret(QStringLiteral("after\r\n"));
    QCOMPARE(f.view.text(), QStringLiteral("after\r\n"));
}

QTEST_MAIN(tst_EditCommands)
#include "tst_EditCommands.moc"
