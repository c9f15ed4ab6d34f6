#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// File names on Linux are bytes: any byte but NUL may be in a path, and names written in
// Shift_JIS or EUC-JP on older systems are not valid UTF-8. The program keeps a path as text
// that holds those bytes one for one: valid UTF-8 is decoded, and every other byte b becomes
// the lone surrogate U+DC00 + b, which decoded text never holds. So a path goes from argv to
// open() unchanged, and is shown with U+FFFD for each byte that is not UTF-8.
//
// Text that was never bytes (what the file-open dialog returns) goes to the system as UTF-8.
namespace NativePath {

QString fromBytes(QByteArrayView bytes);
QByteArray toBytes(QStringView path);
// For captions, lists and messages.
QString display(QStringView path);

// The path's bytes for the system, or nullopt for one it cannot name (empty, or with a NUL,
// which would cut it short).
std::optional<QByteArray> systemBytes(QStringView path);
// Where the bytes of a path name something: its folder ("." for a bare name, "/" at the root)
// and the name in it; the folder's part of the path as written, its slash included, is
// path.chopped(name.size()).
struct FolderAndName
{
    QByteArray folder;
    QByteArray name;
};
FolderAndName splitFolder(const QByteArray &path);

} // namespace NativePath
