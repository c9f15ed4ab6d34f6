#pragma once

#include "platform/FileAccess.h"

#include <optional>

// What the reader knows of a watched file beyond its read position. It is kept per slot beside
// the position and starts afresh whenever the position is set from outside the reader (a file
// added, removed, positioned at its end or sent back to its start).
struct FollowState
{
    // The last byte taken was a CR: an LF that opens the next read is its pair and is dropped.
    bool afterCr = false;
    // The start of the current line has been shown already (it waited too long for its end, or
    // grew too long): the next text of this file continues it.
    bool midLine = false;
    // The unfinished last line left unread at the last look: its size in bytes (-1 for none),
    // and since when (on the reader's clock) it has had that size.
    qint64 heldBytes = -1;
    qint64 heldSinceMs = 0;
    // The file last read under the entry's name; unknown until it is first opened.
    std::optional<FileIdentity> identity;
    // A look found the name missing or leading to something other than a regular file: the
    // next file under it is another one, even with the same identity (file systems hand a
    // freed inode number out again).
    bool nameLost = false;
    // Where the file last read was found under another name (it was renamed away), so that
    // the folder is searched once for it, not at every look; and whether the search found
    // it nowhere, so that it is not searched for again.
    std::optional<QString> previousName;
    bool previousGone = false;
    // The character set decided for the file while reading it in the automatic setting (a
    // CharacterSets value); none while it has shown only ASCII.
    std::optional<qint32> detected;
};
