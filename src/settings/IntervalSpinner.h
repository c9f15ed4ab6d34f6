#pragma once

#include <QAbstractSpinBox>

// A spinner that is a pair of up and down arrows and nothing else: it shows no number of its
// own (a label beside it does, through valueChanged) and cannot be typed into. The arrows, the
// Up and Down keys, Page Up and Page Down (ten steps) and the mouse wheel step it.
//
// Unlike QSpinBox it holds a value outside its range as it is given, because the settings
// store can hold one (an interval of 50 or 20000); the first step from such a value lands on
// the nearest bound, and only the arrow towards the range is enabled. Inside the range it
// moves by the step from wherever it stands (1050 goes to 1150 and 950) and stops at the
// bounds.
//
// Assistive tools read the value as a spin box's (its "value" property, and the text of the
// edit field, which is too narrow to be seen).
class IntervalSpinner : public QAbstractSpinBox
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)

public:
    explicit IntervalSpinner(QWidget *parent = nullptr);

    int value() const { return m_value; }
    // Not clamped: see above.
    void setValue(int value);
    // A maximum below the minimum is raised to it.
    void setRange(int minimum, int maximum);
    void setSingleStep(int step);

    void stepBy(int steps) override;

    // As tall as any spin box of the desktop and as wide as its arrows and frame.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void valueChanged(int value);

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 99;
    int m_step = 1;
};
