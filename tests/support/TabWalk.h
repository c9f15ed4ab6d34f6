#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

// The object names of the widgets the focus visits: where it is now, then after each Tab.
inline QStringList tabWalk(QWidget *window, int presses)
{
    QStringList names {QApplication::focusWidget()->objectName()};
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(window, Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}
