#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

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

} // namespace NativePath
