#include "startup/ArgumentTokenizer.h"

namespace Module1 {

namespace {

// The splitting below counts character positions from 1, with 0 meaning "not found"; these two
// helpers keep that arithmetic away from QString's 0-based indices and never read out of range.

// Position at which the first occurrence of what begins, at or after position from; 0 when
// there is none or when from lies beyond the end.
qsizetype searchFrom(const QString &source, const QString &what, qsizetype from)
{
    if (from < 1 || from > source.size())
        return 0;
    return source.indexOf(what, from - 1) + 1;
}

// n characters from position p, cut short at the end; empty when p lies beyond the end or n is
// not positive.
QString piece(const QString &source, qsizetype p, qsizetype n)
{
    if (p < 1 || p > source.size() || n <= 0)
        return {};
    return source.mid(p - 1, n);
}

} // namespace

QStringList splitQuoted(const QString &source, const QString &delimiter)
{
    if (source.isEmpty())
        return {QString()};
    // Searching for an empty text finds it everywhere and would never move on.
    if (delimiter.isEmpty())
        return {source};

    const QString quote(QLatin1Char('"'));
    const qsizetype len = source.size();
    qsizetype s = 1; // first position of the current token
    qsizetype a = 0; // position of the delimiter that ends it, 0 for the last token
    bool quoted = false;
    bool unterminated = false;

    // Finds where the token starting at s ends. For a quoted token the search for the
    // delimiter starts behind its second quote. Without a second quote the token takes the
    // rest of the text: searching from before s could find a delimiter behind us and never
    // get past it.
    const auto findTokenEnd = [&] {
        quoted = s <= len && source.at(s - 1) == QLatin1Char('"');
        unterminated = false;
        if (!quoted) {
            a = searchFrom(source, delimiter, s);
            return;
        }
        const qsizetype q = searchFrom(source, quote, s + 1);
        unterminated = q == 0;
        a = unterminated ? 0 : searchFrom(source, delimiter, q + 1);
    };

    QStringList tokens;
    findTokenEnd();
    while (a != 0) {
        // A closing quote lies at or before a - 1, so this length is never negative.
        tokens.append(quoted ? piece(source, s + 1, a - s - 2) : piece(source, s, a - s));
        s = a + delimiter.size();
        findTokenEnd();
    }

    if (!quoted)
        tokens.append(piece(source, s, len - s + 1));
    else if (unterminated)
        tokens.append(piece(source, s + 1, len - s));
    else
        tokens.append(piece(source, s + 1, len - s - 1));
    return tokens;
}

} // namespace Module1
