#include "engine/PreviousFile.h"

#include "engine/FollowState.h"

std::unique_ptr<OpenFile> PreviousFile::open(const FileAccess &files, const QString &path,
                                             FollowState &state, qint64 position)
{
    if (!state.identity || state.previousGone)
        return nullptr;
    const auto openAs = [&](const QString &name) {
        auto file = files.openForReading(name);
        // Renamed again or replaced since it was found there: not the file sought.
        return file && file->identity() == state.identity ? std::move(file) : nullptr;
    };
    std::unique_ptr<OpenFile> file = state.previousName ? openAs(*state.previousName) : nullptr;
    if (!file) {
        state.previousName = files.otherNameOf(path, *state.identity);
        state.previousGone = !state.previousName;
        file = state.previousName ? openAs(*state.previousName) : nullptr;
    }
    if (!file)
        return nullptr;
    const auto length = file->length();
    return length && *length > position - 1 ? std::move(file) : nullptr;
}
