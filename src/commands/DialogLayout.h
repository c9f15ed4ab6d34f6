#pragma once

#include <QBoxLayout>

#include <initializer_list>

class QDialog;
class QWidget;

// How Pivex's small dialogs are laid out. Every size comes from the content, through Qt
// layouts: a caption is never cut, whatever the desktop's font, its size or the screen's
// scale. A dialog is fixed at its content's size (no resize grip, no maximise) and grows by
// itself when its content does.
namespace DialogLayout {

// The arrangement most dialogs share: the fields stacked at the left, the buttons stacked at
// the top right, all of one width. Installs the layout on the dialog and fixes its size.
void fieldsAndButtons(QDialog *dialog, QLayout *fields, std::initializer_list<QWidget *> buttons);

// Fixes the dialog at the size its layout asks for.
void fixToContent(QDialog *dialog, QLayout *layout);

// A column of the widgets, top-aligned.
QVBoxLayout *column(std::initializer_list<QWidget *> widgets);

// Widens a box whose text the user types or picks (a word, a path) to hold at least the given
// number of full-width characters of its own font.
void setMinimumTextWidth(QWidget *widget, int fullWidthCharacters);
// The same width, for a box that holds a short value (a number).
void setTextWidth(QWidget *widget, int fullWidthCharacters);

} // namespace DialogLayout
