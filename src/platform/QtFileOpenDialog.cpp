#include "platform/QtFileOpenDialog.h"

#include <QFileDialog>

QtFileOpenDialog::QtFileOpenDialog(QWidget *parent)
    : m_parent(parent)
{
}

QString QtFileOpenDialog::qtFilter(const QString &filterText, const QString &pattern)
{
    QString qtPattern = pattern;
#ifndef Q_OS_WIN
    if (qtPattern == QStringLiteral("*.*"))
        qtPattern = QStringLiteral("*");
#endif
    return filterText % QStringLiteral(" (") % qtPattern % QStringLiteral(")");
}

QString QtFileOpenDialog::open(const QString &title, const QString &filterText,
                               const QString &pattern, const QString &initialName)
{
    // getOpenFileName returns the full path, or the empty text when the user cancels.
    return QFileDialog::getOpenFileName(m_parent.data(), title, initialName,
                                        qtFilter(filterText, pattern));
}
