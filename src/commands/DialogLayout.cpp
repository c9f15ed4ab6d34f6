#include "commands/DialogLayout.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFontMetrics>
#include <QWidget>

namespace DialogLayout {

void fieldsAndButtons(QDialog *dialog, QLayout *fields, std::initializer_list<QWidget *> buttons)
{
    auto *outer = new QHBoxLayout;
    outer->addLayout(fields);
    outer->addLayout(column(buttons));
    fixToContent(dialog, outer);
}

void fixToContent(QDialog *dialog, QLayout *layout)
{
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->setLayout(layout);
    dialog->setSizeGripEnabled(false);
    // A title and a close button only: without this, window managers that follow the Motif
    // hints (openbox among them) offer minimise and maximise on a dialog that cannot grow.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint);
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    for (QWidget *widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return layout;
}

void setMinimumTextWidth(QWidget *widget, int fullWidthCharacters)
{
    // Measured with a character the view's Japanese text is made of, in the widget's own font
    // (or its fallback for kana), so a larger desktop font widens the box with it.
    const int character = widget->fontMetrics().horizontalAdvance(QStringLiteral("あ"));
    widget->setMinimumWidth(character * fullWidthCharacters);
}

void setTextWidth(QWidget *widget, int fullWidthCharacters)
{
    setMinimumTextWidth(widget, fullWidthCharacters);
    widget->setMaximumWidth(widget->minimumWidth());
}

} // namespace DialogLayout
