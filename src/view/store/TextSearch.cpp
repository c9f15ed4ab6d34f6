#include "view/store/TextSearch.h"

#include <QString>

#include <algorithm>

namespace TextSearch {

namespace {

// Qt's own case-insensitive indexOf folds both sides unit by unit at every position, which
// is slow over a long log. Folding the word once and scanning for its first unit gives the
// same matches: the same simple case folding, applied one UTF-16 unit at a time.
qsizetype findFolded(QStringView text, QStringView word, qsizetype from)
{
    QString folded(word.size(), Qt::Uninitialized);
    for (qsizetype k = 0; k < word.size(); ++k)
        folded[k] = QChar(char16_t(QChar::toCaseFolded(char32_t(word[k].unicode()))));
    const char16_t first = folded.at(0).unicode();
    // A quick second pick for the first unit, taken only where it really folds to the same:
    // the dotless ı has the capital I, which folds to i instead.
    const char16_t upper = QChar(first).toUpper().unicode();
    const char16_t firstUpper = QChar::toCaseFolded(char32_t(upper)) == first ? upper : first;

    const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
    const auto *w = reinterpret_cast<const char16_t *>(folded.utf16());
    const qsizetype last = text.size() - word.size();
    for (qsizetype i = from; i <= last; ++i) {
        const char16_t c = p[i];
        if (c != first && c != firstUpper
            && (c < 0x80 || QChar::toCaseFolded(char32_t(c)) != first))
            continue;
        qsizetype k = 1;
        while (k < word.size() && QChar::toCaseFolded(char32_t(p[i + k])) == w[k])
            ++k;
        if (k == word.size())
            return i;
    }
    return -1;
}

} // namespace

std::vector<char16_t> unitsFoldingTo(char16_t target)
{
    // The units that fold to another, with what they fold to: some 1,400 of 65,536, made once
    // (a table of every unit took 10 ms, paid at start-up by a rule that ignores case).
    static const std::vector<std::pair<char16_t, char16_t>> others = [] {
        std::vector<std::pair<char16_t, char16_t>> pairs;
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            if (const char16_t folded = foldedUnit(char16_t(u)); folded != u)
                pairs.emplace_back(folded, char16_t(u));
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    std::vector<char16_t> units;
    if (foldedUnit(target) == target)
        units.push_back(target);
    const auto [first, last]
        = std::equal_range(others.begin(), others.end(), std::pair<char16_t, char16_t>(target, 0),
                           [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto it = first; it != last; ++it)
        units.push_back(it->second);
    std::sort(units.begin(), units.end());
    return units;
}

std::optional<qsizetype> findForward(QStringView text, QStringView word, qsizetype from,
                                     Qt::CaseSensitivity sensitivity)
{
    from = std::max<qsizetype>(from, 0);
    if (word.isEmpty() || from > text.size() - word.size())
        return std::nullopt;
    const qsizetype found = sensitivity == Qt::CaseSensitive ? text.indexOf(word, from)
                                                             : findFolded(text, word, from);
    if (found < 0)
        return std::nullopt;
    return found;
}

} // namespace TextSearch
