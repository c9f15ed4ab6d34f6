#include "startup/StartupFiles.h"

#include "engine/IncrementalReader.h"
#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/FileAccess.h"
#include "platform/NativePath.h"
#include "platform/ReadProgress.h"

namespace StartupMessages {

StartupFailure invalidArguments()
{
    return {QStringLiteral("引数の指定が不正です"), {}};
}

StartupFailure missingFile(const QString &path)
{
    return {QStringLiteral("ファイルが存在しません"), path};
}

StartupFailure readError(const QString &entryName)
{
    return {QStringLiteral("ファイルの読み込みでエラーが発生しました [")
                + NativePath::display(entryName) + QStringLiteral("]"),
            entryName};
}

QByteArray forTerminal(const StartupFailure &failure)
{
    QByteArray line = "pivex: ";
    if (failure.path.isEmpty()) {
        line += failure.message.toUtf8() + " (pivex --help で使い方を表示します)";
    } else {
        // The box's own text names the file in brackets; a terminal gets it whole at the end.
        const qsizetype bracket = failure.message.indexOf(u" [");
        line += failure.message.left(bracket).toUtf8() + ": " + NativePath::toBytes(failure.path);
    }
    return line + '\n';
}

} // namespace StartupMessages

namespace {

// The file's whole content, chunk by chunk, telling the user how far it has come.
bool readWhole(int lngIndex, WatchedFileTable &table, LogAppender &appender, ReadProgress &progress)
{
    Look look;
    for (;;) {
        const ReadStep step = appender.readLog2Chunk(lngIndex, look);
        if (step != ReadStep::More) {
            progress.finish();
            return step == ReadStep::Done;
        }
        const qint64 done = table.filePointerOfEntry(lngIndex).value_or(1) - 1 - look.begin;
        progress.update(NativePath::display(table.path(lngIndex)), done, look.end - look.begin);
    }
}

} // namespace

std::optional<StartupFailure> setUpWatchedFiles(WatchedFileTable &table, const FileAccess &files,
                                                IncrementalReader &reader, LogAppender &appender,
                                                bool viewMode, ReadProgress &progress)
{
    // The table cannot change underneath: nothing else runs during the start.
    const int count = table.count();
    for (int i = 0; i < count; ++i) {
        if (!files.exists(table.path(i)))
            return StartupMessages::missingFile(table.path(i));
        if (!reader.setupFilePointer(i))
            return StartupMessages::readError(table.path(i));
        if (viewMode) {
            // Back to the first byte so that the file's whole content is shown.
            if (!table.setFilePointerOfEntry(i, 1) || !readWhole(i, table, appender, progress))
                return StartupMessages::readError(table.path(i));
        }
    }
    return std::nullopt;
}
