#include "commands/DialogHolder.h"
#include "commands/frmSearch.h"
#include "view/StoreLogView.h"
#include "view/store/TextSearch.h"

#include "FakeMessageBox.h"
#include "TabWalk.h"

#include "view/LogScrollView.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <optional>

namespace {
const QString kAtEnd = QStringLiteral("文字列を最後まで検索しました");
const QString kNotFound = QStringLiteral("文字列が見つかりません");

// The find dialog beside a real log view, as the main window would hold them.
struct Fixture
{
    explicit Fixture(const QString &text, qsizetype blockBytes = LogStore::kDefaultBlockBytes)
        : view(nullptr, blockBytes)
    {
        view.setText(text);
        view.setCaret(0);
    }

    frmSearch *open()
    {
        frmSearch *dialog = holder.show();
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    QLineEdit *word()
    {
        return holder.current()->findChild<QLineEdit *>(QStringLiteral("txtWord"));
    }
    QCheckBox *caseSensitive()
    {
        return holder.current()->findChild<QCheckBox *>(QStringLiteral("chkUp"));
    }
    void next() { QTest::keyClick(word(), Qt::Key_Return); }
    void previous() { QTest::keyClick(word(), Qt::Key_F3, Qt::ShiftModifier); }
    QString count() const
    {
        return holder.current()->findChild<QLabel *>(QStringLiteral("lblCount"))->text();
    }
    QPair<qsizetype, qsizetype> selection() const
    {
        return {view.selectionStart(), view.selectionLength()};
    }

    StoreLogView view;
    FakeMessageBox messages;
    DialogHolder<frmSearch> holder {[this] { return new frmSearch(view, messages); }};
};

using Selection = QPair<qsizetype, qsizetype>;
} // namespace

class tst_frmSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findForward_data();
    void findForward();
    void foldedSearchAgreesWithQt();

    void successiveFindsWalkWithoutOverlap();
    void caseSensitivityFollowsTick_data();
    void caseSensitivityFollowsTick();
    void messageTellsWhetherFoundBefore();
    void newTextMovesSearchToEnd();
    void hitFocusesView();
    void escapeClosesAndNextOpeningStartsAfresh();
    void secondOpenBringsSameDialog();
    void tabOrder();

    void findBackward_data();
    void findBackward();
    void countsEveryMatchAsTyped();
    void movesAsideFromTheMatch();
};

void tst_frmSearch::findBackward_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QList<qsizetype>>("hits"); // then the message

    QTest::newRow("walks up without overlap")
        << QStringLiteral("aaaa") << QStringLiteral("aa") << 4 << QList<qsizetype> {2, 0};
    QTest::newRow("up to offset 0")
        << QStringLiteral("ab ab") << QStringLiteral("ab") << 5 << QList<qsizetype> {3, 0};
    QTest::newRow("nothing before the caret")
        << QStringLiteral("x ab") << QStringLiteral("ab") << 2 << QList<qsizetype> {};
    QTest::newRow("across block edges, any case")
        << QStringLiteral("ログ ERROR\r\nerror 行\r\nＥＲＲＯＲ ERROR") << QStringLiteral("error")
        << 30 << QList<qsizetype> {25, 10, 3};
}

// 前を検索 and Shift+F3 search up from the selection with the same rules and messages as
// 次を検索; small blocks put the edges inside the words.
void tst_frmSearch::findBackward()
{
    QFETCH(QString, text);
    QFETCH(QString, word);
    QFETCH(int, caret);
    QFETCH(QList<qsizetype>, hits);

    Fixture f(text, 16);
    QVERIFY(f.open());
    QTest::keyClicks(f.word(), word);
    f.view.setCaret(caret);
    for (const qsizetype hit : hits) {
        f.previous();
        QCOMPARE(f.selection(), Selection(hit, word.size()));
    }
    f.previous();
    QCOMPARE(f.messages.texts, QStringList {hits.isEmpty() ? kNotFound : kAtEnd});
    // Editing the word forgets the hits, as for 次を検索.
    QTest::keyClick(f.word(), Qt::Key_Backspace);
    QTest::keyClicks(f.word(), word.right(1));
    f.view.setCaret(0);
    QTest::mouseClick(f.holder.current()->findChild<QPushButton *>(QStringLiteral("cmdPrev")),
                      Qt::LeftButton);
    QCOMPARE(f.messages.texts.last(), kNotFound);
}

// The count is the view's own, over overlapping matches and case; it follows the word and
// the text appended.
void tst_frmSearch::countsEveryMatchAsTyped()
{
    Fixture f(QStringLiteral("aaaa Aa\r\nａＡ"), 16);
    QVERIFY(f.open());
    QTest::keyClicks(f.word(), QStringLiteral("aa"));
    QTRY_COMPARE(f.count(), QStringLiteral("4 件"));
    QTest::mouseClick(f.caseSensitive(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_COMPARE(f.count(), QStringLiteral("3 件"));
    f.view.insertAtCaret(QStringLiteral("aa"));
    QTRY_COMPARE(f.count(), QStringLiteral("4 件"));
    f.word()->clear();
    QCOMPARE(f.count(), QString());
}

// A hit under the dialog moves the dialog off it.
void tst_frmSearch::movesAsideFromTheMatch()
{
    Fixture f(QStringLiteral("abc"));
    frmSearch *dialog = f.open();
    QVERIFY(dialog);
    dialog->move(300, 300);
    const QRect match(dialog->frameGeometry().center(), QSize(40, 16));
    dialog->setMatchLocator([&] { return match; });
    QTest::keyClicks(f.word(), QStringLiteral("b"));
    f.next();
    QCOMPARE(f.selection(), Selection(1, 1));
    QVERIFY(!dialog->frameGeometry().intersects(match));
}

void tst_frmSearch::findForward_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<int>("expected"); // -1: not found

    const QString log = QStringLiteral("error ERROR Error");
    QTest::newRow("any case, first") << log << QStringLiteral("Error") << 0 << false << 0;
    QTest::newRow("any case, after first") << log << QStringLiteral("Error") << 1 << false << 6;
    QTest::newRow("exact") << log << QStringLiteral("Error") << 0 << true << 12;
    QTest::newRow("full-width, any case")
        << QStringLiteral("ログ ＥＲＲＯＲ") << QStringLiteral("ｅｒｒｏｒ") << 0 << false << 3;
    QTest::newRow("full-width, exact")
        << QStringLiteral("ログ ＥＲＲＯＲ") << QStringLiteral("ｅｒｒｏｒ") << 0 << true << -1;
    QTest::newRow("full-width never matches half-width")
        << QStringLiteral("ERROR") << QStringLiteral("ｅｒｒｏｒ") << 0 << false << -1;
    QTest::newRow("Greek, any case")
        << QStringLiteral("ΣΦΑΛΜΑ") << QStringLiteral("σφαλμα") << 0 << false << 0;
    QTest::newRow("at the very start")
        << QStringLiteral("abc") << QStringLiteral("a") << 0 << true << 0;
    QTest::newRow("only before from")
        << QStringLiteral("abc abc") << QStringLiteral("abc") << 1 << true << 4;
    QTest::newRow("never wraps") << QStringLiteral("abc xyz") << QStringLiteral("abc") << 1 << true
                                 << -1;
    QTest::newRow("ends exactly at the end")
        << QStringLiteral("xxab") << QStringLiteral("ab") << 2 << true << 2;
    QTest::newRow("from beyond the end")
        << QStringLiteral("ab") << QStringLiteral("a") << 5 << true << -1;
    QTest::newRow("negative from")
        << QStringLiteral("ab") << QStringLiteral("a") << -3 << true << 0;
    QTest::newRow("empty word") << QStringLiteral("ab") << QString() << 0 << true << -1;
    QTest::newRow("across CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("\r\nb") << 0
                                  << true << 1;
}

void tst_frmSearch::findForward()
{
    QFETCH(QString, text);
    QFETCH(QString, word);
    QFETCH(int, from);
    QFETCH(bool, exact);
    QFETCH(int, expected);

    const std::optional<qsizetype> found = TextSearch::findForward(
        text, word, from, exact ? Qt::CaseSensitive : Qt::CaseInsensitive);
    QCOMPARE(found.value_or(-1), qsizetype(expected));
}

// The fast case-insensitive scan must find exactly what Qt's own folding comparison finds.
void tst_frmSearch::foldedSearchAgreesWithQt()
{
    const QString alphabet = QString::fromUtf8("aAbBkKsSΣσςｅＥ\u212A\u017F亜ア\r\n ");
    QRandomGenerator random(5);
    const auto pick = [&](int length) {
        QString s;
        for (int i = 0; i < length; ++i)
            s += alphabet.at(random.bounded(int(alphabet.size())));
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        const QString text = pick(random.bounded(0, 40));
        const QString word = pick(random.bounded(1, 4));
        const int from = random.bounded(0, 10);
        const qsizetype expected = QStringView(text).indexOf(word, from, Qt::CaseInsensitive);
        const auto found = TextSearch::findForward(text, word, from, Qt::CaseInsensitive);
        QCOMPARE(found.value_or(-1), expected);
    }
}

void tst_frmSearch::successiveFindsWalkWithoutOverlap()
{
    Fixture f(QStringLiteral("aaaa"));
    QVERIFY(f.open());
    QTest::keyClicks(f.word(), QStringLiteral("aa"));

    f.next();
    QCOMPARE(f.selection(), Selection(0, 2));
    f.next();
    QCOMPARE(f.selection(), Selection(2, 2));
    QVERIFY(f.messages.texts.isEmpty());

    // Offsets count CR LF as two, on the second line as well.
    Fixture lines(QStringLiteral("x aa\r\naa"));
    QVERIFY(lines.open());
    QTest::keyClicks(lines.word(), QStringLiteral("aa"));
    lines.next();
    QCOMPARE(lines.selection(), Selection(2, 2));
    lines.next();
    QCOMPARE(lines.selection(), Selection(6, 2));
    QCOMPARE(lines.view.selectedText(), QStringLiteral("aa"));
}

void tst_frmSearch::caseSensitivityFollowsTick_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QList<qsizetype>>("hits");

    QTest::newRow("unticked: any case") << false << QList<qsizetype> {0, 6, 12};
    QTest::newRow("ticked: exact") << true << QList<qsizetype> {12};
}

void tst_frmSearch::caseSensitivityFollowsTick()
{
    QFETCH(bool, ticked);
    QFETCH(QList<qsizetype>, hits);

    Fixture f(QStringLiteral("error ERROR Error"));
    QVERIFY(f.open());
    QVERIFY(!f.caseSensitive()->isChecked());
    if (ticked)
        QTest::mouseClick(f.caseSensitive(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f.caseSensitive()->isChecked(), ticked);
    QTest::keyClicks(f.word(), QStringLiteral("Error"));

    for (const qsizetype hit : hits) {
        f.next();
        QCOMPARE(f.selection(), Selection(hit, 5));
    }
    f.next();
    QCOMPARE(f.messages.texts, QStringList {kAtEnd});
    QCOMPARE(f.selection(), Selection(hits.last(), 5));
}

void tst_frmSearch::messageTellsWhetherFoundBefore()
{
    Fixture f(QStringLiteral("warn one\r\nwarn two\r\n"));
    QVERIFY(f.open());

    // Nothing typed: the empty word is never found.
    f.next();
    QCOMPARE(f.messages.texts, QStringList {kNotFound});
    QCOMPARE(f.messages.asked, QList<bool> {false}); // OK button only

    // Only behind the caret, never found since typing.
    f.view.setCaret(f.view.textLength());
    QTest::keyClicks(f.word(), QStringLiteral("warn"));
    f.next();
    QCOMPARE(f.messages.texts.last(), kNotFound);

    // Back at the start: found twice, then the end is reported and the last hit stays.
    f.view.setCaret(0);
    f.next();
    f.next();
    QCOMPARE(f.selection(), Selection(10, 4));
    f.next();
    f.next();
    QCOMPARE(f.messages.texts.mid(2), (QStringList {kAtEnd, kAtEnd}));
    QCOMPARE(f.selection(), Selection(10, 4));

    // Editing the word, even back to the same text, forgets the earlier hits.
    QTest::keyClick(f.word(), Qt::Key_Backspace);
    QTest::keyClicks(f.word(), QStringLiteral("n"));
    f.next();
    QCOMPARE(f.messages.texts.last(), kNotFound);
}

void tst_frmSearch::newTextMovesSearchToEnd()
{
    Fixture f(QStringLiteral("hit\r\nhit\r\n"));
    QVERIFY(f.open());
    QTest::keyClicks(f.word(), QStringLiteral("hit"));
    f.next();
    QCOMPARE(f.selection(), Selection(0, 3));

    // A poll that read something puts the caret at the end and appends there.
    f.view.setCaret(f.view.textLength());
    f.view.insertAtCaret(QStringLiteral("more\r\n"));
    f.next();
    QCOMPARE(f.messages.texts, QStringList {kAtEnd});
    QCOMPARE(f.selection(), Selection(f.view.textLength(), 0));
}

void tst_frmSearch::hitFocusesView()
{
    Fixture f(QStringLiteral("abc"));
    QWidget *viewWidget = f.view.widget();
    viewWidget->show();
    QVERIFY(QTest::qWaitForWindowExposed(viewWidget));
    QVERIFY(f.open());
    QTest::keyClicks(f.word(), QStringLiteral("b"));

    f.next();
    QCOMPARE(viewWidget->window()->focusWidget(), viewWidget);

    // A miss leaves the focus where it is.
    QVERIFY(f.open());
    QCOMPARE(QApplication::focusWidget(), f.word());
    f.next();
    QCOMPARE(f.messages.texts, QStringList {kAtEnd});
    QCOMPARE(QApplication::focusWidget(), f.word());
}

void tst_frmSearch::escapeClosesAndNextOpeningStartsAfresh()
{
    Fixture f(QStringLiteral("abc"));
    QPointer<frmSearch> dialog = f.open();
    QVERIFY(dialog);
    QTest::keyClicks(f.word(), QStringLiteral("b"));
    QTest::mouseClick(f.caseSensitive(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(f.word(), Qt::Key_Escape);
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(f.messages.texts.isEmpty()); // Escape never searched

    dialog = f.open();
    QVERIFY(dialog);
    QVERIFY(f.word()->text().isEmpty());
    QVERIFY(!f.caseSensitive()->isChecked());

    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdCancel")),
                      Qt::LeftButton);
    QTRY_VERIFY(dialog.isNull());
}

void tst_frmSearch::secondOpenBringsSameDialog()
{
    Fixture f(QStringLiteral("abc"));
    frmSearch *first = f.open();
    QVERIFY(first);
    QTest::keyClicks(f.word(), QStringLiteral("kept"));

    QCOMPARE(f.holder.show(), first);
    QCOMPARE(f.word()->text(), QStringLiteral("kept"));
    QCOMPARE(first->windowTitle(), QStringLiteral("検索"));
    QVERIFY(!first->parentWidget());
}

void tst_frmSearch::tabOrder()
{
    Fixture f {QString()};
    frmSearch *dialog = f.open();
    QVERIFY(dialog);
    QCOMPARE(tabWalk(dialog, 5),
             (QStringList {QStringLiteral("txtWord"), QStringLiteral("chkUp"),
                           QStringLiteral("cmdNext"), QStringLiteral("cmdPrev"),
                           QStringLiteral("cmdCancel"), QStringLiteral("txtWord")}));
}

QTEST_MAIN(tst_frmSearch)
#include "tst_frmSearch.moc"
