#include "settings/frmOptions.h"

#include "commands/DialogLayout.h"
#include "engine/CharacterSets.h"
#include "platform/MessageBox.h"
#include "platform/VisibleOnlyAccessible.h"
#include "settings/IntervalSpinner.h"
#include "settings/SettingsLoader.h"
#include "settings/SettingsTarget.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {

const QString kBadFontSize = QStringLiteral("フォントサイズの指定が正しくありません");

constexpr int kIntervalMinimum = 100;
constexpr int kIntervalMaximum = 10000;
constexpr int kIntervalStep = 100;

// The same reading as the settings store's numbers: C locale, blanks around allowed; "inf"
// and "nan" are no size.
bool isFontSize(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmOptions::frmOptions(SettingsTarget &values, Actions actions, MessageBox &messages,
                       const QList<ViewFonts::Face> &faces, QWidget *parent)
    : QDialog(parent)
    , m_values(values)
    , m_actions(std::move(actions))
    , m_messages(messages)
    , updInterval(named(new IntervalSpinner(this), "updInterval"))
    , Label3(named(new QLabel(QStringLiteral("ms"), this), "Label3"))
    , lblInterval(named(new QLabel(this), "lblInterval"))
    , Label2(named(new QLabel(QStringLiteral("監視間隔"), this), "Label2"))
    , cmdOk(named(new QPushButton(QStringLiteral("OK"), this), "cmdOk"))
    , cmdCancel(named(new QPushButton(QStringLiteral("キャンセル"), this), "cmdCancel"))
    , fraCode(named(new QGroupBox(QStringLiteral("文字コード"), this), "fraCode"))
    // An option's index is the CharacterSets value it stands for.
    , optCode {named(new QRadioButton(CharacterSets::caption(0), fraCode), "optCode0"),
               named(new QRadioButton(CharacterSets::caption(1), fraCode), "optCode1"),
               named(new QRadioButton(CharacterSets::caption(2), fraCode), "optCode2"),
               named(new QRadioButton(CharacterSets::caption(3), fraCode), "optCode3")}
    , cboFont(named(new QComboBox(this), "cboFont"))
    , txtFontSize(named(new QLineEdit(this), "txtFontSize"))
    , Label1(named(new QLabel(QStringLiteral("フォント名"), this), "Label1"))
    , Label4(named(new QLabel(QStringLiteral("サイズ"), this), "Label4"))
    , optColor {named(new QRadioButton(QStringLiteral("標準"), this), "optColor0"),
                named(new QRadioButton(QStringLiteral("DOS"), this), "optColor1"),
                named(new QRadioButton(QStringLiteral("グリーンディスプレイ"), this), "optColor2"),
                named(new QRadioButton(QStringLiteral("ブルーバック"), this), "optColor3")}
    , Label5(named(new QLabel(QStringLiteral("画面の色"), this), "Label5"))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("オプション"));
    setObjectName(QStringLiteral("frmOptions"));

    updInterval->setRange(kIntervalMinimum, kIntervalMaximum);
    updInterval->setSingleStep(kIntervalStep);
    cboFont->setEditable(false);
    layOut();

    connect(updInterval, &IntervalSpinner::valueChanged, this, &frmOptions::updInterval_Change);
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    txtFontSize->installEventFilter(this);

    Form_Load(faces);
}

void frmOptions::layOut()
{
    // Left: the interval row (caption, value, arrows, unit), the encoding group, the font's
    // name and size, each caption over its box. Right: OK and キャンセル, then the colour
    // schemes, which are laid out but not offered (hidden widgets take neither room nor
    // focus).
    lblInterval->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for the longest value, so the row does not shift as the arrows move it.
    lblInterval->setMinimumWidth(
        lblInterval->fontMetrics().horizontalAdvance(QString::number(kIntervalMaximum)));
    auto *intervalRow = new QHBoxLayout;
    for (QWidget *widget :
         std::initializer_list<QWidget *> {Label2, lblInterval, updInterval, Label3})
        intervalRow->addWidget(widget);
    intervalRow->addStretch();

    // Each option only as wide as its caption: a radio button takes clicks on its indicator
    // and caption alone, so no blank stretch beside it looks clickable.
    auto *codes = new QVBoxLayout(fraCode);
    for (QRadioButton *option : optCode)
        codes->addWidget(option, 0, Qt::AlignLeft);

    // The list shows whole face names, however long the longest one is.
    cboFont->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    DialogLayout::setTextWidth(txtFontSize, 4);

    auto *fields = new QVBoxLayout;
    fields->addLayout(intervalRow);
    for (QWidget *widget : std::initializer_list<QWidget *> {fraCode, Label1, cboFont, Label4})
        fields->addWidget(widget);
    fields->addWidget(txtFontSize);
    fields->addStretch();
    DialogLayout::fieldsAndButtons(
        this, fields,
        {cmdOk, cmdCancel, Label5, optColor[0], optColor[1], optColor[2], optColor[3]});

    for (QRadioButton *option : optColor)
        option->hide();
    Label5->hide();
    // A screen reader hears what each field is (the captions stand beside them, not in them)
    // and never meets the colour schemes that are not offered.
    VisibleOnlyAccessible::markVisibleOnly(this);
    // (A combo box on Linux is named by its label, through the buddy relation.)
    updInterval->setAccessibleName(QStringLiteral("監視間隔 (ms)"));
    cboFont->setAccessibleName(Label1->text());
    txtFontSize->setAccessibleName(Label4->text());
    Label1->setBuddy(cboFont);
    Label4->setBuddy(txtFontSize);

    cmdOk->setDefault(true);
    setTabOrder(updInterval, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    // The two first options in their old order, the newer ones after them.
    setTabOrder(cmdCancel, optCode[1]);
    setTabOrder(optCode[1], optCode[0]);
    setTabOrder(optCode[0], optCode[2]);
    setTabOrder(optCode[2], optCode[3]);
    setTabOrder(optCode[3], cboFont);
    setTabOrder(cboFont, txtFontSize);
    updInterval->setFocus();
}

void frmOptions::Form_Load(const QList<ViewFonts::Face> &faces)
{
    // The label is set directly too: valueChanged stays silent when the value is the same.
    updInterval->setValue(m_values.interval());
    lblInterval->setNum(updInterval->value());

    // Any other encoding selects neither option, and OK then leaves it as it is.
    const qint32 characterSet = m_values.characterSet();
    if (characterSet >= 0 && characterSet < qint32(optCode.size())) {
        optCode[characterSet]->setChecked(true);
        // The group is one Tab stop, and it should be the chosen option, as on any desktop.
        // Qt only settles that once an option has had the focus.
        for (QRadioButton *other : optCode) {
            if (other != optCode[characterSet])
                other->setFocusPolicy(Qt::FocusPolicy(other->focusPolicy() & ~Qt::TabFocus));
        }
    }

    cboFont->addItems(ViewFonts::fontChoices(faces));
    // A combo box selects its first entry by itself; only a matching face may be selected.
    cboFont->setCurrentIndex(-1);
    const QString face = m_values.fontName();
    for (int index = 0; index < cboFont->count(); ++index) {
        // Exact and exhaustive: with a name listed twice the last one wins.
        if (cboFont->itemText(index) == face) {
            cboFont->setCurrentIndex(index);
            txtFontSize->setText(SettingsLoader::formatFontSize(m_values.fontSize()));
        }
    }
}

void frmOptions::updInterval_Change(int value)
{
    lblInterval->setNum(value);
}

bool frmOptions::txtFontSize_Validate()
{
    if (isFontSize(txtFontSize->text()))
        return true;
    m_messages.inform(kBadFontSize);
    txtFontSize->setFocus(Qt::OtherFocusReason);
    return false;
}

bool frmOptions::txtFontSize_FocusOut(Qt::FocusReason reason)
{
    // Qt has already moved the focus when the box hears of it, so the new holder is known.
    const QWidget *next = QApplication::focusWidget();
    if (!isVisible() || !next || next == txtFontSize || next->window() != this)
        return false;
    if (isFontSize(txtFontSize->text()))
        return false;

    // Taking the focus back at once makes Qt skip the FocusIn of the widget it was going to.
    txtFontSize->setFocus(Qt::OtherFocusReason);
    // A click moves the focus before the press is delivered: the press would still reach the
    // button. It is swallowed until the message has been shown.
    if (reason == Qt::MouseFocusReason)
        blockMouse(true);
    // The message waits for the focus change to finish: a modal box opened inside it would run
    // an event loop in the middle of Qt's focus handling.
    QMetaObject::invokeMethod(
        this,
        [this] {
            blockMouse(false);
            txtFontSize_Validate();
        },
        Qt::QueuedConnection);
    return true;
}

void frmOptions::blockMouse(bool on)
{
    if (on == m_blockingMouse)
        return;
    m_blockingMouse = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFontSize && event->type() == QEvent::FocusOut)
        return txtFontSize_FocusOut(static_cast<QFocusEvent *>(event)->reason());

    if (m_blockingMouse) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
            if (const auto *widget = qobject_cast<QWidget *>(watched);
                widget && widget->window() == this)
                return true;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmOptions::saveFailedMessage()
{
    return QStringLiteral("設定を保存できませんでした\r\n変更した設定は終了するまで有効です");
}

void frmOptions::cmdOk_Click()
{
    // Enter chooses OK without moving the focus, so the size is checked here.
    if (focusWidget() == txtFontSize && !txtFontSize_Validate())
        return;

    m_values.setInterval(updInterval->value());
    for (int index = 0; index < int(optCode.size()); ++index) {
        if (optCode[index]->isChecked())
            m_values.setCharacterSet(index);
    }
    if (cboFont->currentIndex() >= 0)
        m_values.setFontName(cboFont->currentText());
    applyFontSize();
    for (int index = 0; index < int(optColor.size()); ++index) {
        if (optColor[index]->isChecked() && m_actions.SetScreenColor)
            m_actions.SetScreenColor(index);
    }
    if (!m_actions.SaveSettings || !m_actions.SaveSettings())
        m_messages.inform(saveFailedMessage());
    accept();
}

void frmOptions::applyFontSize()
{
    // An empty box (no face matched) or a size no font can have keeps the size in force.
    bool ok = false;
    const double points = txtFontSize->text().toDouble(&ok);
    if (ok && std::isfinite(points) && points > 0)
        m_values.setFontSize(points);
}

// Escape and the frame's close arrive here too, through QDialog::reject.
void frmOptions::cmdCancel_Click()
{
    reject();
}
