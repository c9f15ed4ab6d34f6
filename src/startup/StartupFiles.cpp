#include "startup/StartupFiles.h"

#include "engine/IncrementalReader.h"
#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/FileAccess.h"
#include "platform/NativePath.h"
#include "platform/ReadProgress.h"

namespace StartupMessages {

QString invalidArguments()
{
    return QStringLiteral("引数の指定が不正です");
}

QString missingFile()
{
    return QStringLiteral("ファイルが存在しません");
}

QString readError(const QString &entryName)
{
    return QStringLiteral("ファイルの読み込みでエラーが発生しました [")
        + NativePath::display(entryName) + QStringLiteral("]");
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

std::optional<QString> setUpWatchedFiles(WatchedFileTable &table, const FileAccess &files,
                                         IncrementalReader &reader, LogAppender &appender,
                                         bool viewMode, ReadProgress &progress)
{
    // The table cannot change underneath: nothing else runs during the start.
    const int count = table.count();
    for (int i = 0; i < count; ++i) {
        if (!files.exists(table.path(i)))
            return StartupMessages::missingFile();
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
