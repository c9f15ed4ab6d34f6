#pragma once

#include <QString>

// Modal message boxes: no icon, the program's name "Pivex" as title.
class MessageBox
{
public:
    enum class Answer { Ok, Cancel };

    virtual ~MessageBox() = default;
    // OK button only.
    virtual void inform(const QString &text) = 0;
    // OK and キャンセル; closing the box counts as キャンセル.
    virtual Answer ask(const QString &text) = 0;
};
