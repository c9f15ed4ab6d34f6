#include "platform/QtMessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

// The texts carry CR LF as the program's line end; a lone LF is what the label breaks on.
QString forDisplay(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void prepare(QMessageBox &box, const QString &text)
{
    box.setWindowTitle(QStringLiteral("Pivex"));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText); // a path may hold characters that look like markup
    box.setText(forDisplay(text));
    box.setWindowModality(Qt::ApplicationModal);
}

} // namespace

QtMessageBox::QtMessageBox(QWidget *parent)
    : m_parent(parent)
{
}

void QtMessageBox::inform(const QString &text)
{
    QMessageBox box(m_parent.data());
    prepare(box, text);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

MessageBox::Answer QtMessageBox::ask(const QString &text)
{
    QMessageBox box(m_parent.data());
    prepare(box, text);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}
