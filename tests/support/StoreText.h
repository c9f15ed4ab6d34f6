#pragma once

#include "view/store/UnitCoding.h"

#include <QString>

// The text of bytes in the log store's form, as the reader hands them on, with each CR LF
// folded back to a CR, so rows can be written as the reader's text reads. Line ends that are
// not CR LF pairs would come back changed: the result is then marked, and no row matches it.
inline QString foldedText(QByteArrayView storeBytes)
{
    QString text;
    UnitCoding::decodeAppend(storeBytes, text);
    const qsizetype pairs = text.count(QStringLiteral("\r\n"));
    if (text.count(u'\r') != pairs || text.count(u'\n') != pairs)
        return QStringLiteral("(line ends not in pairs) ") + text;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
}
