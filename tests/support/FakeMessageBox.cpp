#include "FakeMessageBox.h"

void FakeMessageBox::inform(const QString &text)
{
    texts.append(text);
    asked.append(false);
    if (onShow)
        onShow(text);
}

MessageBox::Answer FakeMessageBox::ask(const QString &text)
{
    texts.append(text);
    asked.append(true);
    if (onShow)
        onShow(text);
    return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
}
