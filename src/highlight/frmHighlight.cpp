#include "highlight/frmHighlight.h"

#include "commands/DialogLayout.h"
#include "highlight/HighlightSettings.h"
#include "platform/MessageBox.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

// A rule as the list shows it: its word, then what it colours and whether case counts.
QString caption(const HighlightRule &rule)
{
    const QString word = rule.word.isEmpty() ? QStringLiteral("（語なし）") : rule.word;
    return word + QStringLiteral("　（")
        + (rule.wholeLine ? QStringLiteral("行全体") : QStringLiteral("語だけ"))
        + (rule.matchCase ? QStringLiteral("、大文字と小文字を区別") : QString())
        + QStringLiteral("）");
}

// A square of the colour, or a crossed-out one for none.
QIcon swatch(const QColor &colour, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(colour.isValid() ? colour : QColor(Qt::transparent));
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, side - 1, side - 1);
    if (!colour.isValid())
        painter.drawLine(0, side - 1, side - 1, 0);
    return QIcon(pixmap);
}

template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmHighlight::frmHighlight(const HighlightRules &rules,
                           std::function<void(const HighlightRules &)> apply, MessageBox &messages,
                           ColourChooser chooser, QWidget *parent)
    : QDialog(parent)
    , m_rules(rules.rules())
    , m_apply(std::move(apply))
    , m_messages(messages)
    , m_chooser(chooser
                    ? std::move(chooser)
                    : [](const QColor &initial, const QString &title,
                         QWidget *owner) { return QColorDialog::getColor(initial, owner, title); })
    , lblRules(named(new QLabel(QStringLiteral("規則(&L)"), this), "lblRules"))
    , lstRules(named(new QListWidget(this), "lstRules"))
    , lblWord(named(new QLabel(QStringLiteral("語(&W)"), this), "lblWord"))
    , txtWord(named(new QLineEdit(this), "txtWord"))
    , chkCase(named(new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this), "chkCase"))
    , optWord(named(new QRadioButton(QStringLiteral("語だけに色を付ける(&O)"), this), "optWord"))
    , optLine(named(new QRadioButton(QStringLiteral("行全体に色を付ける(&E)"), this), "optLine"))
    , chkFore(named(new QCheckBox(QStringLiteral("文字色(&T)"), this), "chkFore"))
    , cmdFore(named(new QToolButton(this), "cmdFore"))
    , chkBack(named(new QCheckBox(QStringLiteral("背景色(&B)"), this), "chkBack"))
    , cmdBack(named(new QToolButton(this), "cmdBack"))
    , cmdOk(named(new QPushButton(QStringLiteral("OK"), this), "cmdOk"))
    , cmdCancel(named(new QPushButton(QStringLiteral("キャンセル"), this), "cmdCancel"))
    , cmdAdd(named(new QPushButton(QStringLiteral("追加(&A)"), this), "cmdAdd"))
    , cmdRemove(named(new QPushButton(QStringLiteral("削除(&D)"), this), "cmdRemove"))
    , cmdUp(named(new QPushButton(QStringLiteral("上へ(&U)"), this), "cmdUp"))
    , cmdDown(named(new QPushButton(QStringLiteral("下へ(&N)"), this), "cmdDown"))
    , cmdReady(named(new QPushButton(QStringLiteral("よく使う規則を追加(&R)"), this), "cmdReady"))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("強調表示"));
    setObjectName(QStringLiteral("frmHighlight"));
    layOut();

    connect(lstRules, &QListWidget::currentRowChanged, this, &frmHighlight::lstRules_Change);
    connect(txtWord, &QLineEdit::textChanged, this, &frmHighlight::fieldsChanged);
    for (QAbstractButton *box : std::initializer_list<QAbstractButton *> {chkCase, optLine})
        connect(box, &QAbstractButton::toggled, this, &frmHighlight::fieldsChanged);
    // Ticking a colour that has none yet asks for one at once.
    connect(chkFore, &QCheckBox::clicked, this, [this](bool on) {
        if (on && !m_rules[size_t(selected())].foreground.isValid())
            chooseColour(true);
        fieldsChanged();
    });
    connect(chkBack, &QCheckBox::clicked, this, [this](bool on) {
        if (on && !m_rules[size_t(selected())].background.isValid())
            chooseColour(false);
        fieldsChanged();
    });
    connect(cmdFore, &QToolButton::clicked, this, [this] { chooseColour(true); });
    connect(cmdBack, &QToolButton::clicked, this, [this] { chooseColour(false); });
    connect(cmdAdd, &QPushButton::clicked, this, &frmHighlight::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmHighlight::cmdRemove_Click);
    connect(cmdUp, &QPushButton::clicked, this, [this] { move(-1); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { move(1); });
    connect(cmdReady, &QPushButton::clicked, this, &frmHighlight::cmdReady_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmHighlight::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    refill(m_rules.empty() ? -1 : 0);
    (m_rules.empty() ? static_cast<QWidget *>(cmdAdd) : lstRules)->setFocus();
}

void frmHighlight::layOut()
{
    // Left: the list over the selected rule's fields. Right: OK and キャンセル, then the
    // buttons that change the list.
    lblRules->setBuddy(lstRules);
    lblWord->setBuddy(txtWord);
    DialogLayout::setMinimumTextWidth(lstRules, 20);
    DialogLayout::setMinimumTextWidth(txtWord, 13);
    lstRules->setMinimumHeight(lstRules->fontMetrics().height() * 8);
    for (QToolButton *button : {cmdFore, cmdBack}) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        const int side = button->fontMetrics().height();
        button->setIconSize(QSize(side * 2, side));
    }
    cmdFore->setAccessibleName(QStringLiteral("文字色を選ぶ"));
    cmdBack->setAccessibleName(QStringLiteral("背景色を選ぶ"));
    cmdFore->setToolTip(cmdFore->accessibleName());
    cmdBack->setToolTip(cmdBack->accessibleName());

    auto *scope = new QButtonGroup(this);
    scope->addButton(optWord);
    scope->addButton(optLine);
    auto *colours = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *> {chkFore, cmdFore, chkBack, cmdBack})
        colours->addWidget(widget);
    colours->addStretch();

    auto *fields = new QVBoxLayout;
    fields->addWidget(lblRules);
    fields->addWidget(lstRules, 1);
    fields->addWidget(lblWord);
    for (QWidget *widget : std::initializer_list<QWidget *> {txtWord, chkCase, optWord, optLine})
        fields->addWidget(widget, 0, Qt::AlignLeft);
    fields->addLayout(colours);
    DialogLayout::fieldsAndButtons(this, fields,
                                   {cmdOk, cmdCancel, cmdAdd, cmdRemove, cmdUp, cmdDown, cmdReady});

    cmdOk->setDefault(true);
    QWidget *order[]
        = {lstRules, txtWord, chkCase,   optWord, optLine,   chkFore, cmdFore, chkBack,
           cmdBack,  cmdOk,   cmdCancel, cmdAdd,  cmdRemove, cmdUp,   cmdDown, cmdReady};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);
}

int frmHighlight::selected() const
{
    const int row = lstRules->currentRow();
    return row >= 0 && row < int(m_rules.size()) ? row : -1;
}

void frmHighlight::refill(int select)
{
    m_filling = true;
    lstRules->clear();
    for (const HighlightRule &rule : m_rules) {
        auto *item = new QListWidgetItem(caption(rule), lstRules);
        if (rule.foreground.isValid())
            item->setForeground(rule.foreground);
        if (rule.background.isValid())
            item->setBackground(rule.background);
    }
    m_filling = false;
    lstRules->setCurrentRow(select);
    showRule(selected());
}

void frmHighlight::showRule(int row)
{
    const bool any = row >= 0;
    for (QWidget *widget :
         std::initializer_list<QWidget *> {lblWord, txtWord, chkCase, optWord, optLine, chkFore,
                                           cmdFore, chkBack, cmdBack, cmdRemove})
        widget->setEnabled(any);
    cmdAdd->setEnabled(m_rules.size() < size_t(HighlightSettings::kMaxRules));
    cmdUp->setEnabled(row > 0);
    cmdDown->setEnabled(any && row + 1 < int(m_rules.size()));
    const HighlightRule rule = any ? m_rules[size_t(row)] : HighlightRule();
    m_filling = true;
    txtWord->setText(rule.word);
    chkCase->setChecked(rule.matchCase);
    (rule.wholeLine ? optLine : optWord)->setChecked(true);
    chkFore->setChecked(rule.foreground.isValid());
    chkBack->setChecked(rule.background.isValid());
    const int side = cmdFore->fontMetrics().height();
    cmdFore->setIcon(swatch(rule.foreground, side));
    cmdBack->setIcon(swatch(rule.background, side));
    m_filling = false;
}

void frmHighlight::lstRules_Change()
{
    if (!m_filling)
        showRule(selected());
}

void frmHighlight::fieldsChanged()
{
    const int row = selected();
    if (m_filling || row < 0)
        return;
    HighlightRule &rule = m_rules[size_t(row)];
    rule.word = txtWord->text();
    rule.matchCase = chkCase->isChecked();
    rule.wholeLine = optLine->isChecked();
    if (!chkFore->isChecked())
        rule.foreground = QColor();
    if (!chkBack->isChecked())
        rule.background = QColor();
    QListWidgetItem *item = lstRules->item(row);
    item->setText(caption(rule));
    item->setForeground(rule.foreground.isValid() ? QBrush(rule.foreground) : QBrush());
    item->setBackground(rule.background.isValid() ? QBrush(rule.background) : QBrush());
    showRule(row);
}

void frmHighlight::chooseColour(bool foreground)
{
    const int row = selected();
    if (row < 0)
        return;
    QColor &colour = foreground ? m_rules[size_t(row)].foreground : m_rules[size_t(row)].background;
    const QColor initial = colour.isValid() ? colour
        : foreground                        ? QColor(Qt::red)
                                            : QColor(Qt::yellow);
    const QColor chosen = m_chooser(
        initial, foreground ? QStringLiteral("文字色") : QStringLiteral("背景色"), this);
    if (chosen.isValid())
        colour = chosen;
    // The box says whether the rule has the colour, chosen now or before.
    m_filling = true;
    (foreground ? chkFore : chkBack)->setChecked(colour.isValid());
    m_filling = false;
    fieldsChanged();
}

void frmHighlight::cmdAdd_Click()
{
    // A new rule marks the word on a light yellow ground until the user says otherwise.
    m_rules.push_back({QString(), false, false, QColor(), QColor(0xff, 0xf5, 0x9d)});
    refill(int(m_rules.size()) - 1);
    txtWord->setFocus();
}

void frmHighlight::cmdRemove_Click()
{
    const int row = selected();
    if (row < 0)
        return;
    m_rules.erase(m_rules.begin() + row);
    refill(std::min(row, int(m_rules.size()) - 1));
    lstRules->setFocus();
}

void frmHighlight::move(int step)
{
    const int row = selected();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= int(m_rules.size()))
        return;
    std::swap(m_rules[size_t(row)], m_rules[size_t(to)]);
    refill(to);
}

void frmHighlight::cmdReady_Click()
{
    const int before = int(m_rules.size());
    m_rules = HighlightRules::withReadySet(std::move(m_rules));
    refill(int(m_rules.size()) > before ? before : selected());
}

void frmHighlight::cmdOk_Click()
{
    // More rules than the settings take back would be saved and then refused, all of them,
    // at the next start.
    if (m_rules.size() > size_t(HighlightSettings::kMaxRules)) {
        refill(HighlightSettings::kMaxRules);
        m_messages.inform(QStringLiteral("強調表示の規則は%1個までです。減らしてください")
                              .arg(HighlightSettings::kMaxRules));
        lstRules->setFocus();
        return;
    }
    for (size_t k = 0; k < m_rules.size(); ++k) {
        const HighlightRule &rule = m_rules[k];
        QString problem;
        if (!rule.hasWord())
            problem = QStringLiteral("強調表示する語を入力してください");
        else if (!rule.hasColour())
            problem = QStringLiteral("文字色か背景色を選んでください");
        if (!problem.isEmpty()) {
            refill(int(k));
            m_messages.inform(problem);
            (rule.word.isEmpty() ? static_cast<QWidget *>(txtWord) : chkFore)->setFocus();
            return;
        }
    }
    m_apply(HighlightRules(m_rules));
    accept();
}
