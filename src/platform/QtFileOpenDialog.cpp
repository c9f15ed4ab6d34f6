#include "platform/QtFileOpenDialog.h"

#include <QFileDialog>

QtFileOpenDialog::QtFileOpenDialog(QWidget *parent)
    : m_parent(parent)
{
}

void QtFileOpenDialog::prepare(QFileDialog &dialog, const QString &title, const QString &filterText,
                               const QString &pattern, const QString &initialName)
{
    QString qtPattern = pattern;
#ifndef Q_OS_WIN
    if (qtPattern == QStringLiteral("*.*"))
        qtPattern = QStringLiteral("*");
#endif
    dialog.setWindowTitle(title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt reads the patterns from the last parentheses and, with their details hidden, shows
    // what stands before them: the display text, whole, whatever parentheses it holds itself.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filterText % QStringLiteral(" (") % qtPattern % QStringLiteral(")"));
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
}

QString QtFileOpenDialog::open(const QString &title, const QString &filterText,
                               const QString &pattern, const QString &initialName)
{
    QFileDialog dialog(m_parent.data());
    prepare(dialog, title, filterText, pattern, initialName);
    // The full path of the chosen file, or the empty text when the user cancels.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
