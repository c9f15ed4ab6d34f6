#include "platform/IniSettingsStore.h"
#include "platform/ViewFonts.h"
#include "settings/SettingsLoader.h"
#include "settings/frmOptions.h"
#include <QAccessible>

#include "FakeMessageBox.h"
#include "FakeSettingsTarget.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QTest>

using Faces = QList<ViewFonts::Face>;

namespace {

const QString kBadSize = QStringLiteral("フォントサイズの指定が正しくありません");

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

const Faces kFaces {{s("Terminal"), true}, {s("Courier"), true}, {s("Arial"), false}};

struct Fixture
{
    ~Fixture() { delete dialog.data(); }

    frmOptions *open(const Faces &faces = kFaces)
    {
        auto save
            = [this] { return host.log(s("save")) && (store ? saveTo(*store) : saveSucceeds); };
        dialog = new frmOptions(host,
                                {[this](const qint32 &n) { host.log(s("color %1").arg(n)); }, save},
                                messages, faces);
        dialog->show();
        return QTest::qWaitForWindowActive(dialog) ? dialog.data() : nullptr;
    }
    bool saveTo(IniSettingsStore &settings)
    {
        return SettingsLoader(settings).SaveSettings(host).ok();
    }

    template<typename Widget = QWidget>
    Widget *child(const QString &name) const
    {
        return dialog->findChild<Widget *>(name);
    }
    QLineEdit *size() const { return child<QLineEdit>(s("txtFontSize")); }
    QComboBox *fonts() const { return child<QComboBox>(s("cboFont")); }
    QString interval() const { return child<QLabel>(s("lblInterval"))->text(); }
    QAbstractSpinBox *spinner() const { return child<QAbstractSpinBox>(s("updInterval")); }
    QRadioButton *code(int index) const { return child<QRadioButton>(s("optCode%1").arg(index)); }
    void click(const char *name) { QTest::mouseClick(child(s(name)), Qt::LeftButton); }

    void clickUpArrow()
    {
        QStyleOptionSpinBox option;
        option.initFrom(spinner());
        option.frame = true;
        const QRect up = spinner()->style()->subControlRect(QStyle::CC_SpinBox, &option,
                                                            QStyle::SC_SpinBoxUp, spinner());
        QTest::mouseClick(spinner(), Qt::LeftButton, {}, up.center());
    }

    // The named control holding the focus; a spinner's inner edit counts as the spinner.
    QString focused() const
    {
        QWidget *widget = QApplication::focusWidget();
        while (widget && widget->objectName().isEmpty())
            widget = widget->parentWidget();
        return widget ? widget->objectName() : QString();
    }

    void typeSize(const QString &text)
    {
        size()->setFocus(Qt::MouseFocusReason);
        size()->clear();
        QTest::keyClicks(size(), text);
    }

    bool closed()
    {
        return QTest::qWaitFor([this] { return dialog.isNull(); });
    }

    FakeSettingsTarget host; // the main window as the dialog sees it
    FakeMessageBox messages;
    bool saveSucceeds = true;
    IniSettingsStore *store = nullptr; // the real store behind the save, when set
    QPointer<frmOptions> dialog;
};

} // namespace

class tst_frmOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontChoices_data();
    void fontChoices();
    void screenListHoldsFixedPitchFacesOnly();
    void tabOrder();
    void accessibleFields();
    void selectsCurrentFace_data();
    void selectsCurrentFace();
    void spinnerSteps_data();
    void spinnerSteps();
    void encodingOptions_data();
    void encodingOptions();
    void badSizeKeepsFocus_data();
    void badSizeKeepsFocus();
    void okAppliesInOrderAndSaves();
    void unusableValuesKeepCurrent_data();
    void unusableValuesKeepCurrent();
    void failedSaveIsReported();
    void storesFractionalSize();
};

void tst_frmOptions::fontChoices_data()
{
    QTest::addColumn<Faces>("faces");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("proportional and vertical faces left out")
        << Faces {{s("Sans"), false}, {s("@MS Gothic"), true}, {s("MS Gothic"), true}}
        << QStringList {s("MS Gothic")};
    QTest::newRow("sorted without regard to case")
        << Faces {{s("courier"), true}, {s("Noto Mono"), true}, {s("Bitstream"), true}}
        << QStringList {s("Bitstream"), s("courier"), s("Noto Mono")};
    QTest::newRow("equal but for case: desktop order")
        << Faces {{s("mono"), true}, {s("Mono"), true}, {s("MONO"), true}}
        << QStringList {s("mono"), s("Mono"), s("MONO")};
}

void tst_frmOptions::fontChoices()
{
    QFETCH(Faces, faces);
    QFETCH(QStringList, expected);
    QCOMPARE(ViewFonts::fontChoices(faces), expected);

    // The dialog lists them so.
    Fixture f;
    QVERIFY(f.open(faces));
    QCOMPARE(f.fonts()->count(), expected.size());
    QCOMPARE(f.fonts()->itemText(0), expected.first());
}

void tst_frmOptions::screenListHoldsFixedPitchFacesOnly()
{
    const QStringList choices = ViewFonts::fontChoices(ViewFonts::screenFaces());
    for (const QString &face : choices)
        QVERIFY2(ViewFonts::isFixedPitch(face), qPrintable(face));
    for (const char *proportional : {"DejaVu Sans", "Noto Sans CJK JP", "Nimbus Roman"})
        QVERIFY2(!choices.contains(s(proportional)), proportional);
    // The Japanese fallback is listed although its kana are twice as wide as its Latin.
    const QString fallback = ViewFonts::actualFace(ViewFonts::resolve(s("Terminal"), 14));
    QVERIFY2(choices.contains(fallback), qPrintable(fallback));
}

void tst_frmOptions::tabOrder()
{
    Fixture f;
    QVERIFY(f.open());
    QStringList walk {f.focused()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walk << f.focused();
    }
    // The encoding options are one stop, the chosen one; the colour schemes take none.
    const QStringList expected {s("updInterval"), s("cmdOk"),       s("cmdCancel"),  s("optCode0"),
                                s("cboFont"),     s("txtFontSize"), s("updInterval")};
    QCOMPARE(walk, expected);
}

// Each field is named and tells its value; what is hidden is not in the tree at all.
void tst_frmOptions::accessibleFields()
{
    Fixture f;
    QVERIFY(f.open());
    const auto accessible
        = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget); };
    QCOMPARE(accessible(f.spinner())->text(QAccessible::Name), s("監視間隔 (ms)"));
    QCOMPARE(accessible(f.spinner())->valueInterface()->currentValue().toInt(), 1000);
    QCOMPARE(accessible(f.spinner())->text(QAccessible::Value), s("1000"));
    const auto labels = accessible(f.fonts())->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), s("フォント名"));
    QCOMPARE(accessible(f.fonts())->text(QAccessible::Value), f.fonts()->currentText());
    QCOMPARE(accessible(f.size())->text(QAccessible::Name), s("サイズ"));
    QCOMPARE(accessible(f.size())->text(QAccessible::Value), f.size()->text());

    QStringList names;
    std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        QVERIFY2(!node->state().invisible,
                 qPrintable(node->object()->objectName() + u' '
                            + QString::fromLatin1(node->object()->metaObject()->className())));
        names << node->object()->objectName();
        if (node->role() == QAccessible::ComboBox)
            return; // its closed list is hidden while closed, as a combo box's should be
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(accessible(f.dialog));
    QVERIFY(names.contains(s("optCode0")));
    QVERIFY(!names.contains(s("optColor0")));
    QVERIFY(!names.contains(s("Label5")));
}

void tst_frmOptions::selectsCurrentFace_data()
{
    QTest::addColumn<Faces>("faces");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("sizeText");

    QTest::newRow("defaults") << kFaces << s("Terminal") << 14.0 << 1 << s("14");
    QTest::newRow("four fraction digits at most")
        << kFaces << s("Courier") << 10.123456 << 0 << s("10.1235");
    QTest::newRow("case must match") << kFaces << s("terminal") << 14.0 << -1 << QString();
    QTest::newRow("not listed") << kFaces << s("Arial") << 9.0 << -1 << QString();
    QTest::newRow("listed twice: last wins")
        << Faces {{s("Mono"), true}, {s("Mono"), true}, {s("MONO"), true}} << s("Mono") << 10.5 << 1
        << s("10.5");
}

void tst_frmOptions::selectsCurrentFace()
{
    QFETCH(Faces, faces);
    Fixture f;
    QFETCH(QString, face);
    f.host.m_face = face;
    QFETCH(double, points);
    f.host.m_size = points;
    QVERIFY(f.open(faces));
    QTEST(f.fonts()->currentIndex(), "selected");
    QTEST(f.size()->text(), "sizeText");
}

void tst_frmOptions::spinnerSteps_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("key"); // 0: a click on the upper arrow
    QTest::addColumn<QString>("after");

    QTest::newRow("upper arrow") << 1000 << 0 << s("1100");
    QTest::newRow("off the step grid") << 1050 << int(Qt::Key_Down) << s("950");
    QTest::newRow("top bound holds") << 10000 << 0 << s("10000");
    QTest::newRow("page up stops at the bound") << 9500 << int(Qt::Key_PageUp) << s("10000");
    QTest::newRow("below range, up enters it") << 50 << 0 << s("100");
    QTest::newRow("below range, down is off") << 50 << int(Qt::Key_Down) << s("50");
    QTest::newRow("above range, down enters it") << 20000 << int(Qt::Key_Down) << s("10000");
}

void tst_frmOptions::spinnerSteps()
{
    QFETCH(int, stored);
    QFETCH(int, key);
    Fixture f;
    f.host.m_interval = stored;
    QVERIFY(f.open());
    QCOMPARE(f.interval(), QString::number(stored)); // shown as it is, even out of range
    if (key == 0)
        f.clickUpArrow();
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QTEST(f.interval(), "after");

    f.click("cmdOk");
    QVERIFY(f.closed());
    QTEST(QString::number(f.host.m_interval), "after");
}

void tst_frmOptions::encodingOptions_data()
{
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<int>("chosen"); // the option clicked before OK, -1 for none
    QTest::addColumn<qint32>("applied");
    QTest::newRow("Shift_JIS") << 0 << -1 << 0;
    QTest::newRow("EUC-JP to UTF-8") << 1 << 2 << 2;
    QTest::newRow("UTF-8") << 2 << -1 << 2;
    QTest::newRow("automatic to Shift_JIS") << 3 << 0 << 0;
    QTest::newRow("unknown kept") << 7 << -1 << 7;
    QTest::newRow("unknown to automatic") << 7 << 3 << 3;
}

void tst_frmOptions::encodingOptions()
{
    QFETCH(qint32, stored);
    Fixture f;
    f.host.m_characterSet = stored;
    QVERIFY(f.open());
    const QStringList captions {s("シフトJIS"), s("EUC"), s("UTF-8"), s("自動判別")};
    for (int index = 0; index < 4; ++index) {
        QCOMPARE(f.code(index)->text(), captions[index]);
        QCOMPARE(f.code(index)->isChecked(), index == stored);
    }
    // The group is one Tab stop, the chosen option.
    f.child<QPushButton>(s("cmdCancel"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(stored > 3 || f.focused() == s("optCode%1").arg(stored));
    QFETCH(int, chosen);
    if (chosen >= 0)
        f.click(s("optCode%1").arg(chosen).toLatin1().constData());
    f.click("cmdOk");
    QVERIFY(f.closed());
    QTEST(f.host.m_characterSet, "applied");
}

void tst_frmOptions::badSizeKeepsFocus_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text"); // not a number, though the parser might be lenient

    QTest::newRow("Tab") << s("Tab") << s("abc");
    QTest::newRow("Shift+Tab") << s("Shift+Tab") << QString();
    QTest::newRow("Enter") << s("Enter") << s("inf");
    QTest::newRow("click OK") << s("cmdOk") << s("10,5");
    QTest::newRow("click キャンセル") << s("cmdCancel") << s("abc");
    QTest::newRow("click font list") << s("cboFont") << s("12pt");
    QTest::newRow("click spinner arrow") << s("updInterval") << s("  ");
}

void tst_frmOptions::badSizeKeepsFocus()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    Fixture f;
    QVERIFY(f.open());
    f.typeSize(text);
    if (how == s("Tab"))
        QTest::keyClick(f.size(), Qt::Key_Tab);
    else if (how == s("Shift+Tab"))
        QTest::keyClick(f.size(), Qt::Key_Backtab, Qt::ShiftModifier);
    else if (how == s("Enter"))
        QTest::keyClick(f.size(), Qt::Key_Return);
    else if (how == s("updInterval"))
        f.clickUpArrow();
    else
        f.click(how.toLatin1().constData());

    QTRY_COMPARE(f.messages.texts, QStringList {kBadSize});
    QTest::qWait(20); // room for a second message, which must not come
    QCOMPARE(f.messages.texts.size(), 1);
    QVERIFY(f.dialog && f.dialog->isVisible());
    QCOMPARE(f.focused(), s("txtFontSize"));
    QCOMPARE(f.size()->text(), text); // never rewritten
    // The click that tried to leave did nothing.
    QVERIFY(!f.fonts()->view()->isVisible());
    QCOMPARE(f.interval(), s("1000"));

    // Once corrected, キャンセル closes, and nothing has been applied.
    f.typeSize(s("12"));
    f.click("cmdCancel");
    QVERIFY(f.closed());
    QVERIFY(f.host.calls.isEmpty());
}

void tst_frmOptions::okAppliesInOrderAndSaves()
{
    Fixture f;
    QVERIFY(f.open());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    f.click("optCode1");
    f.fonts()->setCurrentIndex(0); // Courier
    f.typeSize(s("10.5"));
    QTest::keyClick(f.size(), Qt::Key_Return);
    QVERIFY(f.closed());
    // No colour scheme can be chosen, so none is applied.
    const QStringList expected {s("interval 900"), s("encode 1"), s("face Courier"), s("size 10.5"),
                                s("save")};
    QCOMPARE(f.host.calls, expected);

    // An unchanged dialog writes the values in force again.
    f.host.calls.clear();
    QVERIFY(f.open());
    f.click("cmdOk");
    QVERIFY(f.closed());
    QCOMPARE(f.host.calls, expected);
    QVERIFY(f.messages.texts.isEmpty());
}

void tst_frmOptions::unusableValuesKeepCurrent_data()
{
    QTest::addColumn<QString>("face"); // the view's face as the dialog opens
    QTest::addColumn<QString>("sizeText"); // null: left as filled
    QTest::addColumn<QString>("applied"); // what OK hands over besides interval and encoding

    QTest::newRow("zero") << s("Terminal") << s("0") << s("face Terminal");
    QTest::newRow("negative") << s("Terminal") << s("-2") << s("face Terminal");
    QTest::newRow("refused by the view")
        << s("Terminal") << s("5000") << s("face Terminal,size 5000");
    QTest::newRow("no face listed, empty box") << s("Proportional") << QString() << QString();
}

void tst_frmOptions::unusableValuesKeepCurrent()
{
    QFETCH(QString, face);
    QFETCH(QString, sizeText);
    QFETCH(QString, applied);
    Fixture f;
    f.host.m_face = face;
    QVERIFY(f.open());
    if (!sizeText.isNull())
        f.typeSize(sizeText);
    f.click("cmdOk");
    QVERIFY(f.closed());
    QStringList expected {s("interval 1000"), s("encode 0")};
    if (!applied.isEmpty())
        expected << applied.split(u',');
    QCOMPARE(f.host.calls, expected << s("save"));
    QCOMPARE(f.host.m_size, 14.0);
    QCOMPARE(f.host.m_face, face);
}

void tst_frmOptions::failedSaveIsReported()
{
    Fixture f;
    f.saveSucceeds = false;
    QVERIFY(f.open());
    f.click("optCode1");
    f.click("cmdOk");
    QVERIFY(f.closed());
    QCOMPARE(f.messages.texts.size(), 1);
    QVERIFY(f.messages.texts.first().contains(s("保存できませんでした")));
    QCOMPARE(f.host.m_characterSet, 1); // applied all the same
}

void tst_frmOptions::storesFractionalSize()
{
    QTemporaryDir config;
    QVERIFY(config.isValid());
    IniSettingsStore store(config.path());
    Fixture f;
    f.store = &store;
    f.host.m_interval = 20000;
    f.host.m_characterSet = 7;
    QVERIFY(f.open());
    f.typeSize(s("10.5"));
    QTest::keyClick(f.size(), Qt::Key_Return);
    QVERIFY(f.closed());

    auto stored
        = [&](const char *key) { return store.read(s("PIVEX"), s("Option"), s(key), s("absent")); };
    QCOMPARE(stored("FontSize"), s("10.5"));
    QCOMPARE(stored("FontName"), s("Terminal"));
    QCOMPARE(stored("Interval"), s("20000")); // values the dialog cannot show, kept as they were
    QCOMPARE(stored("Encode"), s("7"));
    QVERIFY(f.messages.texts.isEmpty());
}

QTEST_MAIN(tst_frmOptions)
#include "tst_frmOptions.moc"
