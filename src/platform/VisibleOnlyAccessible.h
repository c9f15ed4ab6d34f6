#pragma once

#include <QAccessibleWidget>

// An accessible widget whose accessible children are only its child widgets that are shown.
// Qt's own keeps hidden children in the tree, marked invisible, and some screen readers walk
// into them all the same: the options dialog's colour schemes, which are laid out but never
// offered, the status bar's empty parts, the log view's gutter while one file is watched.
//
// Widgets opt in with markVisibleOnly() before anything asks for their interface; their
// role is the one Qt gives their kind (dialog, status bar, client).
class VisibleOnlyAccessible : public QAccessibleWidget
{
public:
    VisibleOnlyAccessible(QWidget *widget, QAccessible::Role role);

    static void markVisibleOnly(QWidget *widget);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> shownChildren() const;
};
