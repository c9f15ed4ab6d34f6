#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

// Finds a word in a block's encoded bytes (UnitCoding.h) without decoding them, with the
// matching rule of TextSearch::findForward: exact, or with case folded one UTF-16 unit at a
// time. A hit must lie wholly inside the bytes; the caller joins block edges.
//
// Candidates are filtered on a few bytes of the word at once (SSE2 where the compiler has it),
// the rarest bytes first (the lead byte of kana is in every other character of a Japanese
// log, the last byte of a character names it), then checked unit by unit. A folded unit can be
// matched by units of another encoded length (the Kelvin sign folds to "k"), so the check walks the
// text rather than comparing bytes.
class ByteMatcher
{
public:
    ByteMatcher(QStringView word, Qt::CaseSensitivity sensitivity);

    // The unit index in bytes of the first hit that begins at byte fromByte or later, which
    // is unit fromUnit; -1 when there is none. fromByte must begin a unit.
    qsizetype find(QByteArrayView bytes, qsizetype fromByte, qsizetype fromUnit) const;
    // The byte where the first hit at byte from or later begins, or -1. from must begin a unit.
    qsizetype findByte(QByteArrayView bytes, qsizetype from) const;
    // visit(byte) for every hit at byte from or later, overlapping ones too, in order, until it
    // returns false: one pass, where calling findByte after each hit would start over.
    void forEachHit(QByteArrayView bytes, qsizetype from,
                    const std::function<bool(qsizetype)> &visit) const;

    // What every hit holds whatever the case of the text: the distinct byte pairs (as
    // BigramFilter takes them) inside runs of the word's units whose matching units all
    // encode alike; and the most bytes a hit can take. For LogStore::Passing.
    const std::vector<quint16> &requiredPairs() const { return m_pairs; }
    qsizetype reach() const { return m_maxLength; }

private:
    // One filter test: the byte at a candidate plus offset is one of up to four values.
    struct Condition
    {
        qsizetype offset = 0;
        std::vector<unsigned char> values;
    };

    template<typename Hit>
    void scan(QByteArrayView bytes, qsizetype from, Hit &&hit) const;
    bool matchesAt(const unsigned char *p, qsizetype available) const;
    bool passes(const unsigned char *p) const;
    // Whether two units encode to the same bytes as a BigramFilter sees them.
    static bool sameBytes(char16_t a, char16_t b);
    void addPairs(QByteArrayView run);
    void addUnitConditions(const std::vector<char16_t> &members, qsizetype offset);
    // Keeps the four tests least likely to pass on a log's bytes, the least likely first.
    void keepRarestConditions();
    static int commonness(unsigned char b);
    static constexpr qsizetype kFilteredUnits = 6; // units looked at for filter tests
    // The units that match this one of the word.
    std::vector<char16_t> matesOf(char16_t unit) const;

    QString m_word; // folded when matching without case
    QByteArray m_encoded;
    bool m_caseSensitive;
    std::vector<Condition> m_conditions;
    qsizetype m_reach = 0; // bytes past a candidate the conditions look at
    qsizetype m_minLength = 0; // the fewest bytes a hit can take
    qsizetype m_maxLength = 0; // the most
    std::vector<quint16> m_pairs;
};
