#pragma once

#include <QString>

#include <optional>

class FileOpenDialog;
class IncrementalReader;
class MessageBox;
class WatchedFileTable;

// Registering and dropping watched files while the program runs, keeping the list and the
// eleven slots in step: an entry exists exactly as long as its slot is in use.
//
// Edge cases: a freed slot is the next one taken, so list order and slot order differ after a
// removal in the middle; the same path may be added twice (two slots, read twice); with all
// eleven slots in use addFile refuses and the list stays as it was.
class FileListOperations
{
public:
    FileListOperations(WatchedFileTable &table, IncrementalReader &reader, FileOpenDialog &dlgOpen,
                       MessageBox &messages);

    // Appends an entry for the path, unchecked, with the lowest free slot at read position 1.
    // Returns its list position, or nullopt (nothing added) when no slot is free.
    std::optional<int> addFile(const QString &strFileName);
    // Frees the entry's slot and removes the entry; the ones behind it move up and keep their
    // slots. False for a position outside the list.
    bool removeFile(int lngIndex);
    // Lowest free slot, or -1 when all eleven are in use.
    int getIndex() const;
    // Asks for a file to watch; the full path, or the empty text when the user cancelled.
    QString changeFile();

    // The add button of the file-list dialog: asks for a file, registers it and places its
    // read position at its current end, so only what is written from now on shows. Tells the
    // user, and leaves the list as it was, when no slot is free (before asking for a file) or
    // when the chosen file cannot be opened. Returns the new entry's position, or nullopt when
    // nothing was added (cancelled included).
    std::optional<int> addChosenFile();

    static QString noFreeSlotMessage();
    static QString cannotOpenMessage(const QString &path);

private:
    WatchedFileTable &m_table;
    IncrementalReader &m_reader;
    FileOpenDialog &m_dlgOpen;
    MessageBox &m_messages;
};
