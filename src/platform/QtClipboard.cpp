#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::setText(const QString &plainText)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(plainText, QClipboard::Clipboard);
}
