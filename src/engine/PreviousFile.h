#pragma once

#include "platform/FileAccess.h"

#include <memory>

struct FollowState;

// The file an entry followed until its name came to lead to another one, found again by its
// identity under another name in the same folder (app.log renamed to app.log.1 when the log
// rotated), so that what was written to it after the last look is read before the new file.
class PreviousFile
{
public:
    // Opens it when it is still there and holds bytes from the 1-based position on; nullptr
    // when it is gone, was never known, or has nothing after what was read. Where it was
    // found, or that it was found nowhere, is kept in state.
    static std::unique_ptr<OpenFile> open(const FileAccess &files, const QString &path,
                                          FollowState &state, qint64 position);
};
