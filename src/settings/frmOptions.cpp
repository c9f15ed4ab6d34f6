#include "settings/frmOptions.h"

#include "commands/DialogLayout.h"
#include "platform/MessageBox.h"
#include "settings/IntervalSpinner.h"
#include "settings/SettingsLoader.h"
#include "settings/SettingsTarget.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace {

const QString kBadFontSize = QStringLiteral("フォントサイズの指定が正しくありません");
const QString kSaveFailed
    = QStringLiteral("設定を保存できませんでした\r\n変更した設定は終了するまで有効です");

constexpr int kIntervalMinimum = 100;
constexpr int kIntervalMaximum = 10000;
constexpr int kIntervalStep = 100;

// This dialog was drawn in 96-dpi pixels; DialogLayout counts in twips.
constexpr int twips(int pixels)
{
    return pixels * DialogLayout::kTwipsPerPixel;
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    DialogLayout::place(widget, twips(left), twips(top), twips(width), twips(height));
}

void placeText(QWidget *widget, int left, int top, int width, int height)
{
    DialogLayout::placeText(widget, twips(left), twips(top), twips(width), twips(height));
}

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
    , optCode {named(new QRadioButton(QStringLiteral("シフトJIS"), fraCode), "optCode0"),
               named(new QRadioButton(QStringLiteral("EUC"), fraCode), "optCode1")}
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
    DialogLayout::setClientSize(this, twips(272), twips(180));
    place(updInterval, 100, 8, 16, 13);
    placeText(Label3, 120, 8, 29, 13);
    placeText(lblInterval, 64, 8, 33, 13);
    placeText(Label2, 4, 8, 53, 13);
    place(cmdOk, 208, 4, 61, 21);
    place(cmdCancel, 208, 28, 61, 21);
    place(fraCode, 4, 32, 109, 57);
    placeText(optCode[1], 8, 36, 65, 13);
    placeText(optCode[0], 8, 16, 65, 13);
    // The Japanese faces found on Linux are wider and taller than the ones this was drawn for.
    // The options may widen to fit their captions inside the group box; grown for a tall line,
    // シフトJIS would reach under EUC, which would then take clicks meant for it, so it keeps
    // to the gap between the two.
    for (QRadioButton *option : optCode) {
        const int width = option->width();
        const int room = std::max(width, fraCode->width() - option->x() - 4);
        option->resize(std::clamp(option->sizeHint().width(), width, room), option->height());
    }
    optCode[0]->resize(optCode[0]->width(),
                       std::min(optCode[0]->height(), optCode[1]->y() - optCode[0]->y()));
    place(cboFont, 8, 112, 145, 20);
    place(txtFontSize, 8, 152, 41, 18);
    placeText(Label1, 8, 96, 105, 13);
    placeText(Label4, 8, 136, 69, 13);
    placeText(optColor[0], 160, 88, 81, 17);
    placeText(optColor[1], 160, 108, 81, 17);
    placeText(optColor[2], 160, 128, 109, 17);
    placeText(optColor[3], 160, 148, 81, 17);
    placeText(Label5, 160, 68, 89, 17);

    // Labels grown to fit their text slide under the controls below them, not over them.
    for (QLabel *label : {Label3, lblInterval, Label2, Label1, Label4, Label5})
        label->lower();

    // The colour schemes are drawn but not offered; hidden widgets take no focus either.
    for (QRadioButton *option : optColor)
        option->hide();
    Label5->hide();

    cmdOk->setDefault(true);
    setTabOrder(updInterval, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, optCode[1]);
    setTabOrder(optCode[1], optCode[0]);
    setTabOrder(optCode[0], cboFont);
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
        QRadioButton *other = optCode[1 - characterSet];
        other->setFocusPolicy(Qt::FocusPolicy(other->focusPolicy() & ~Qt::TabFocus));
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
        m_messages.inform(kSaveFailed);
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
