#include "status/MonitorStatusBar.h"

#include "platform/VisibleOnlyAccessible.h"

#include <QLabel>
#include <QToolButton>

namespace {

QToolButton *flatButton(const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    // The keyboard reaches the same commands through the menus; focus stays with the log.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void showText(QWidget *part, const QString &text)
{
    // Unchanged parts are left alone: each new text lays the bar out again.
    if (part->accessibleName() == text
        && part->isVisibleTo(part->parentWidget()) == !text.isEmpty())
        return;
    if (auto *label = qobject_cast<QLabel *>(part))
        label->setText(text);
    else if (auto *button = qobject_cast<QToolButton *>(part))
        button->setText(text);
    part->setAccessibleName(text);
    part->setVisible(!text.isEmpty());
}

} // namespace

MonitorStatusBar::MonitorStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , m_monitoring(flatButton(QStringLiteral("statusMonitoring"), this))
    , m_grep(new QLabel(this))
    , m_lines(new QLabel(this))
    , m_newLines(flatButton(QStringLiteral("statusNewLines"), this))
{
    setSizeGripEnabled(false);
    VisibleOnlyAccessible::markVisibleOnly(this);
    m_grep->setObjectName(QStringLiteral("statusGrep"));
    m_lines->setObjectName(QStringLiteral("statusLines"));
    // Labels keep the air a flat button has around its text, and off the window's edge.
    const int air = fontMetrics().averageCharWidth();
    m_grep->setContentsMargins(air, 0, air, 0);
    m_lines->setContentsMargins(air, 0, air, 0);
    m_monitoring->setToolTip(QStringLiteral("クリックで監視を切り替えます"));
    m_newLines->setToolTip(QStringLiteral("クリックで末尾へ移動します"));
    addWidget(m_monitoring);
    addWidget(m_grep, 1);
    addPermanentWidget(m_newLines);
    addPermanentWidget(m_lines);
    connect(m_monitoring, &QToolButton::clicked, this, &MonitorStatusBar::monitoringClicked);
    connect(m_newLines, &QToolButton::clicked, this, &MonitorStatusBar::newLinesClicked);
    showFacts({});
}

void MonitorStatusBar::showFacts(const StatusFacts &facts)
{
    showText(m_monitoring, StatusSummary::monitoringText(facts));
    showText(m_grep, StatusSummary::grepText(facts));
    showText(m_lines, StatusSummary::linesText(facts));
    showText(m_newLines, StatusSummary::newLinesText(facts));
}

QString MonitorStatusBar::monitoringShown() const
{
    return m_monitoring->isVisibleTo(this) ? m_monitoring->text() : QString();
}

QString MonitorStatusBar::grepShown() const
{
    return m_grep->isVisibleTo(this) ? m_grep->text() : QString();
}

QString MonitorStatusBar::linesShown() const
{
    return m_lines->isVisibleTo(this) ? m_lines->text() : QString();
}

QString MonitorStatusBar::newLinesShown() const
{
    return m_newLines->isVisibleTo(this) ? m_newLines->text() : QString();
}
