#include "engine/PreviousFile.h"

#include "engine/FollowState.h"

std::unique_ptr<OpenFile> PreviousFile::open(const FileAccess &files, const QString &path,
                                             const FollowState &state, qint64 position)
{
    if (!state.identity)
        return nullptr;
    const auto name = files.otherNameOf(path, *state.identity);
    auto file = name ? files.openForReading(*name) : nullptr;
    // Renamed again or replaced between the search and the opening: not the file sought.
    if (!file || file->identity() != state.identity)
        return nullptr;
    const auto length = file->length();
    return length && *length > position - 1 ? std::move(file) : nullptr;
}
