#pragma once

#include "platform/FileOpenDialog.h"

#include <QPointer>

class QFileDialog;
class QWidget;

// The modal file-open dialog on the desktop. It only lets existing files be chosen.
//
// The one filter is shown exactly as its display text ("すべてのファイル(*.*)"). On Linux the
// pattern "*.*" would hide every file without a dot in its name (many logs have none), so the
// dialog matches "*" there, behind that same text. (Qt's own dialog is meant; a desktop's
// native dialog shows filter names its own way.)
class QtFileOpenDialog : public FileOpenDialog
{
public:
    explicit QtFileOpenDialog(QWidget *parent = nullptr);

    QString open(const QString &title, const QString &filterText, const QString &pattern,
                 const QString &initialName) override;

    // Gives a dialog the title, the filter and the starting name that open() shows.
    static void prepare(QFileDialog &dialog, const QString &title, const QString &filterText,
                        const QString &pattern, const QString &initialName);

private:
    QPointer<QWidget> m_parent;
};
