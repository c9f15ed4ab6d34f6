#pragma once

#include "platform/FileOpenDialog.h"

#include <QPointer>

class QWidget;

// The modal file-open dialog on the desktop. It only lets existing files be chosen.
//
// The one filter is shown as its display text followed by Qt's pattern list. On Linux the
// pattern "*.*" would hide every file without a dot in its name (many logs have none), so it
// is widened to "*" there: "すべてのファイル(*.*) (*)".
class QtFileOpenDialog : public FileOpenDialog
{
public:
    explicit QtFileOpenDialog(QWidget *parent = nullptr);

    QString open(const QString &title, const QString &filterText, const QString &pattern,
                 const QString &initialName) override;

    // The filter string handed to Qt for one filter.
    static QString qtFilter(const QString &filterText, const QString &pattern);

private:
    QPointer<QWidget> m_parent;
};
