#pragma once

#include <QChar>
#include <QStringView>

#include <optional>
#include <vector>

// Forward search in the log view's plain text.
namespace TextSearch {

// How case-insensitive matching compares one UTF-16 unit: its Unicode simple case folding.
// Everything that matches words in the log's text without regard to case folds this way.
inline char16_t foldedUnit(char16_t unit)
{
    return char16_t(QChar::toCaseFolded(char32_t(unit)));
}
// Every unit that folds to target, ascending; empty when none does. Made once for all units.
std::vector<char16_t> unitsFoldingTo(char16_t target);

// The 0-based offset of the first occurrence of word in text that begins at offset from or
// later, or nullopt. Never wraps round to the start.
//
// Case-insensitive matching uses Unicode simple case folding one UTF-16 unit at a time, so
// letters that differ only in case match, full-width Latin letters (U+FF21..U+FF5A) included,
// and a match always has exactly the word's length.
//
// Edge cases: the empty word finds nothing (an empty "match" would select nothing and never
// move on); a from beyond the text's end finds nothing; a negative from starts at 0.
std::optional<qsizetype> findForward(QStringView text, QStringView word, qsizetype from,
                                     Qt::CaseSensitivity sensitivity);

} // namespace TextSearch
