#include "settings/IntervalSpinner.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

IntervalSpinner::IntervalSpinner(QWidget *parent)
    : QAbstractSpinBox(parent)
{
    // The edit field is read-only and too narrow to show anything: the value is shown by a
    // label, and typing would bypass the step and the range.
    lineEdit()->setReadOnly(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setFocusPolicy(Qt::StrongFocus);
}

void IntervalSpinner::setValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    lineEdit()->setText(QString::number(value));
    update(); // the arrows' enabled look depends on the value
    Q_EMIT valueChanged(m_value);
}

void IntervalSpinner::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    update();
}

void IntervalSpinner::setSingleStep(int step)
{
    m_step = std::max(step, 1);
}

void IntervalSpinner::stepBy(int steps)
{
    if (steps == 0)
        return;
    if (m_value < m_minimum) {
        if (steps > 0)
            setValue(m_minimum);
        return;
    }
    if (m_value > m_maximum) {
        if (steps < 0)
            setValue(m_maximum);
        return;
    }
    // In 64 bits: a wheel spun hard times a large step must not wrap round.
    const qint64 next = qint64(m_value) + qint64(steps) * m_step;
    setValue(int(std::clamp<qint64>(next, m_minimum, m_maximum)));
}

QAbstractSpinBox::StepEnabled IntervalSpinner::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (m_value < m_maximum)
        enabled |= StepUpEnabled;
    if (m_value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

QSize IntervalSpinner::sizeHint() const
{
    // The style's own spin box, less its edit field: the arrows get their usual size at any
    // font and scale, and no empty field stands beside the label that shows the value.
    ensurePolished();
    const QSize normal = QAbstractSpinBox::sizeHint();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    option.rect = QRect(QPoint(0, 0), normal);
    const QRect field
        = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, this);
    return {std::max(normal.width() - field.width(), 1), normal.height()};
}
