#pragma once

#include <QString>

// The values of CharacterSet, as stored under "Encode" and set by /c=. Any other value reads
// as Shift_JIS, so a store written by a later version still opens.
namespace CharacterSets {

constexpr qint32 kShiftJis = 0; // Windows code page 932
constexpr qint32 kEucJp = 1;
constexpr qint32 kUtf8 = 2;
// Each watched file in the set its first non-ASCII bytes read best in, decided once per entry.
constexpr qint32 kAutomatic = 3;

// The caption of a value, as the options dialog and the file list show it; the empty text for
// a value that is none of the four.
inline QString caption(qint32 characterSet)
{
    switch (characterSet) {
    case kShiftJis:
        return QStringLiteral("シフトJIS");
    case kEucJp:
        return QStringLiteral("EUC");
    case kUtf8:
        return QStringLiteral("UTF-8");
    case kAutomatic:
        return QStringLiteral("自動判別");
    default:
        return {};
    }
}

} // namespace CharacterSets
