#include "FakeMessageBox.h"
#include "TabWalk.h"
#include "highlight/HighlightSettings.h"
#include "highlight/frmHighlight.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// The dialog with what it reaches, the colour dialog answering from a queue.
struct Fixture
{
    explicit Fixture(std::vector<HighlightRule> rules = {})
        : dialog(new frmHighlight(
            HighlightRules(std::move(rules)),
            [this](const HighlightRules &r) {
                applied = r;
                ++applies;
            },
            messages,
            [this](const QColor &, const QString &, QWidget *) {
                return colours.isEmpty() ? QColor() : colours.takeFirst();
            }))
    {
        dialog->show();
    }
    ~Fixture() { delete dialog.data(); }
    template<typename W>
    W *child(const char *name)
    {
        return dialog->findChild<W *>(QString::fromLatin1(name));
    }
    void click(const char *name)
    {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }

    FakeMessageBox messages;
    QList<QColor> colours;
    HighlightRules applied;
    int applies = 0;
    QPointer<frmHighlight> dialog;
};

} // namespace

// The rules dialog edits a copy, hands it over on OK only, and refuses rules that would never
// show.
class TestFrmHighlight : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addsEditsAndAppliesOnOk()
    {
        Fixture f;
        QVERIFY(!f.child<QLineEdit>("txtWord")->isEnabled()); // no rule at first
        f.click("cmdAdd");
        QTest::keyClicks(f.child<QLineEdit>("txtWord"), u"timeout"_s);
        f.click("chkCase");
        f.child<QRadioButton>("optLine")->setChecked(true);
        f.colours = {QColor(0, 0, 200)};
        f.click("chkFore"); // ticking asks for the colour at once
        f.click("chkBack"); // and without the ground the rule has none
        QCOMPARE(f.applies, 0);
        f.click("cmdOk");
        QCOMPARE(f.applies, 1);
        QVERIFY(f.dialog.isNull() || !f.dialog->isVisible());
        const HighlightRule expected {u"timeout"_s, true, true, QColor(0, 0, 200), QColor()};
        QCOMPARE(f.applied, HighlightRules({expected}));
    }

    void okRefusesARuleThatWouldNeverShow_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("withGround");
        QTest::addColumn<QString>("message");
        QTest::newRow("no word") << QString() << true << u"強調表示する語を入力してください"_s;
        QTest::newRow("no colour") << u"x"_s << false << u"文字色か背景色を選んでください"_s;
    }
    void okRefusesARuleThatWouldNeverShow()
    {
        QFETCH(QString, word);
        QFETCH(bool, withGround);
        QFETCH(QString, message);
        Fixture f({{u"kept"_s, false, false, QColor(), Qt::yellow}});
        f.click("cmdAdd");
        QTest::keyClicks(f.child<QLineEdit>("txtWord"), word);
        if (!withGround)
            f.click("chkBack");
        f.child<QListWidget>("lstRules")->setCurrentRow(0);
        f.click("cmdOk");
        QCOMPARE(f.messages.texts, QStringList {message});
        QCOMPARE(f.applies, 0);
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.child<QListWidget>("lstRules")->currentRow(), 1); // the rule at fault
    }

    void movesRemovesAndAddsTheReadySetOnce()
    {
        const HighlightRule a {u"a"_s, false, false, QColor(), Qt::yellow};
        const HighlightRule b {u"b"_s, false, false, QColor(), Qt::green};
        Fixture f({a, b});
        f.click("cmdDown"); // a below b
        QVERIFY(!f.child<QPushButton>("cmdDown")->isEnabled());
        f.click("cmdReady");
        f.click("cmdReady"); // a second press adds nothing
        f.child<QListWidget>("lstRules")->setCurrentRow(0);
        f.click("cmdRemove"); // b
        f.click("cmdOk");
        std::vector<HighlightRule> expected = HighlightRules::withReadySet({b, a});
        expected.erase(expected.begin());
        QCOMPARE(f.applied, HighlightRules(expected));
    }

    // More rules than the settings load back would all be lost at the next start.
    void okRefusesMoreRulesThanAreKept()
    {
        std::vector<HighlightRule> rules;
        for (int k = 0; k < HighlightSettings::kMaxRules - 3; ++k)
            rules.push_back({QString::number(k), false, false, QColor(), Qt::yellow});
        Fixture f(rules);
        QVERIFY(f.child<QPushButton>("cmdAdd")->isEnabled());
        f.click("cmdReady"); // six more
        QVERIFY(!f.child<QPushButton>("cmdAdd")->isEnabled());
        f.click("cmdOk");
        QCOMPARE(f.messages.texts,
                 QStringList {u"強調表示の規則は500個までです。減らしてください"_s});
        QCOMPARE(f.applies, 0);
        for (int k = 0; k < 3; ++k)
            f.click("cmdRemove");
        f.click("cmdOk");
        QCOMPARE(f.applies, 1);
    }

    void cancelDropsTheEdits()
    {
        Fixture f({{u"a"_s, false, false, QColor(), Qt::yellow}});
        f.click("cmdRemove");
        QTest::keyClick(f.dialog, Qt::Key_Escape);
        QCOMPARE(f.applies, 0);
    }

    void tabOrder()
    {
        Fixture f({{u"a"_s, false, false, QColor(), Qt::yellow}});
        QVERIFY(QTest::qWaitForWindowActive(f.dialog));
        QCOMPARE(
            tabWalk(f.dialog, 4),
            (QStringList {u"lstRules"_s, u"txtWord"_s, u"chkCase"_s, u"optWord"_s, u"chkFore"_s}));
    }
};

QTEST_MAIN(TestFrmHighlight)
#include "tst_frmHighlight.moc"
