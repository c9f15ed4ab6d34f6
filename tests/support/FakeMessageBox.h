#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records every message and answers ask() from a scripted queue (OK once the queue is empty).
// onShow runs while a box would be open, so a test can look at the program's state then.
class FakeMessageBox : public MessageBox
{
public:
    void inform(const QString &text) override;
    Answer ask(const QString &text) override;

    QStringList texts; // every text shown, inform and ask alike, in order
    QList<bool> asked; // per text: true for ask(), false for inform()
    QList<Answer> answers; // consumed front first by ask()
    std::function<void(const QString &text)> onShow;
};
