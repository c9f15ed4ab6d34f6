#pragma once

#include <QString>

// The few settings of the main window that decide how the engine reads and shows text.
// The menu's grep-mode check mark mirrors grepMode.
struct EngineState
{
    // 0 Shift_JIS, 1 EUC-JP; any value other than 1 reads as Shift_JIS.
    qint32 CharacterSet = 0;
    // Starts empty at every run; empty means no keyword.
    QString GrepKeyword;
    bool grepMode = false;
};
