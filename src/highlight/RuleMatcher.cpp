#include "highlight/RuleMatcher.h"

#include "view/store/TextSearch.h"

#include <algorithm>
#include <cstring>

RuleMatcher::RuleMatcher(const std::vector<HighlightRule> &rules)
{
    std::array<std::vector<quint16>, 256> buckets;
    for (size_t r = 0; r < rules.size(); ++r) {
        const HighlightRule &rule = rules[r];
        if (!rule.isUsable())
            continue;
        Word word {int(r), rule.matchCase, rule.wholeLine, rule.word};
        if (!word.exact) {
            for (QChar &c : word.key)
                c = QChar(TextSearch::foldedUnit(c.unicode()));
        }
        const auto index = quint16(m_words.size());
        const std::vector<char16_t> starts = word.exact
            ? std::vector<char16_t> {rule.word.at(0).unicode()}
            : TextSearch::unitsFoldingTo(word.key.at(0).unicode());
        for (const char16_t unit : starts) {
            std::vector<quint16> &bucket = buckets[quint8(unit)];
            if (bucket.empty() || bucket.back() != index)
                bucket.push_back(index);
        }
        m_longest = std::max(m_longest, word.key.size());
        m_words.push_back(std::move(word));
    }
    for (size_t b = 0; b < buckets.size(); ++b) {
        m_bucketStart[b] = quint16(m_candidates.size());
        m_candidates.insert(m_candidates.end(), buckets[b].begin(), buckets[b].end());
    }
    m_bucketStart[256] = quint16(m_candidates.size());
}

bool RuleMatcher::matchesAt(const Word &word, const char16_t *p, qsizetype available)
{
    const qsizetype length = word.key.size();
    if (length > available)
        return false;
    const auto *key = reinterpret_cast<const char16_t *>(word.key.utf16());
    if (word.exact)
        return std::memcmp(p, key, size_t(length) * sizeof(char16_t)) == 0;
    for (qsizetype k = 0; k < length; ++k) {
        if (TextSearch::foldedUnit(p[k]) != key[k])
            return false;
    }
    return true;
}

int RuleMatcher::firstMatch(QStringView text, bool wholeLineOnly) const
{
    int best = -1;
    const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const quint8 low = quint8(p[i]);
        for (quint16 k = m_bucketStart[low]; k < m_bucketStart[low + 1]; ++k) {
            const Word &word = m_words[m_candidates[k]];
            // Candidates come in rule order: none after a hit can do better.
            if (best >= 0 && word.rule >= best)
                break;
            if ((wholeLineOnly && !word.wholeLine) || !matchesAt(word, p + i, size - i))
                continue;
            best = word.rule;
            if (best == m_words.front().rule)
                return best;
            break;
        }
    }
    return best;
}
