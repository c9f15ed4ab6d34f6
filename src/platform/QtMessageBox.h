#pragma once

#include "platform/MessageBox.h"

#include <QPointer>

class QWidget;

// Message boxes on the desktop: application modal, no icon, title "Pivex", buttons "OK" and
// "キャンセル" written out here so they read the same whatever translations are installed.
// Escape and the window's close box answer キャンセル. CR LF in a text shows as one line break.
class QtMessageBox : public MessageBox
{
public:
    // The parent only centres the box; it may be null or go away before this object.
    explicit QtMessageBox(QWidget *parent = nullptr);

    void inform(const QString &text) override;
    Answer ask(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
};
