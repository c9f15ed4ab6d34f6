#include "files/FileListOperations.h"

#include "engine/IncrementalReader.h"
#include "engine/WatchedFileTable.h"
#include "platform/FileOpenDialog.h"
#include "platform/MessageBox.h"

FileListOperations::FileListOperations(WatchedFileTable &table, IncrementalReader &reader,
                                       FileOpenDialog &dlgOpen, MessageBox &messages)
    : m_table(table)
    , m_reader(reader)
    , m_dlgOpen(dlgOpen)
    , m_messages(messages)
{
}

std::optional<int> FileListOperations::addFile(const QString &strFileName)
{
    // The slot is found before the entry is appended: an entry must never exist without one.
    const int slot = getIndex();
    if (slot < 0)
        return std::nullopt;
    const int position = m_table.append(strFileName, slot);
    m_table.setFilePointer(slot, 1);
    return position;
}

bool FileListOperations::removeFile(int lngIndex)
{
    const std::optional<int> slot = m_table.itemData(lngIndex);
    if (!slot)
        return false;
    m_table.setFilePointer(*slot, 0);
    return m_table.removeAt(lngIndex);
}

int FileListOperations::getIndex() const
{
    return m_table.getIndex();
}

QString FileListOperations::changeFile()
{
    return m_dlgOpen.open(QStringLiteral("監視するファイルの指定"),
                          QStringLiteral("すべてのファイル(*.*)"), QStringLiteral("*.*"),
                          QString());
}

std::optional<int> FileListOperations::addChosenFile()
{
    // Checked first so the user is not sent through the dialog for nothing.
    if (getIndex() < 0) {
        m_messages.inform(noFreeSlotMessage());
        return std::nullopt;
    }
    const QString path = changeFile();
    if (path.isEmpty())
        return std::nullopt;

    const std::optional<int> position = addFile(path);
    if (!position) {
        m_messages.inform(noFreeSlotMessage());
        return std::nullopt;
    }
    if (!m_reader.setupFilePointer(*position)) {
        // An entry that can never be read would fail every tick; take it out again.
        removeFile(*position);
        m_messages.inform(cannotOpenMessage(path));
        return std::nullopt;
    }
    return position;
}

QString FileListOperations::noFreeSlotMessage()
{
    return QStringLiteral("監視できるファイルは最大")
        % QString::number(WatchedFileTable::kSlotCount)
        % QStringLiteral("個です。\r\nほかのファイルを一覧から削除してから追加してください。");
}

QString FileListOperations::cannotOpenMessage(const QString &path)
{
    return QStringLiteral("ファイルを開けませんでした [") % path
        % QStringLiteral("]\r\nこのファイルは監視ファイルに追加されません。");
}
