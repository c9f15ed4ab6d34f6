#pragma once

#include <QString>

// The few settings of the main window that decide how the engine reads and shows text.
// The menu's grep-mode check mark mirrors grepMode.
struct EngineState
{
    // 0 Shift_JIS, 1 EUC-JP, 2 UTF-8, 3 automatic (CharacterSets); any other value reads as
    // Shift_JIS.
    qint32 CharacterSet = 0;
    // Starts empty at every run; empty means no keyword.
    QString GrepKeyword;
    bool grepMode = false;
    // New text brings the view to its end (the menu's 末尾に追従 check mark); off, the view
    // stays where the user is reading. For this run only.
    bool following = true;
};
