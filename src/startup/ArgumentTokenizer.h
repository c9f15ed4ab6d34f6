#pragma once

#include <QString>
#include <QStringList>

namespace Module1 {

// Cuts source at every occurrence of delimiter; a token that begins with a double quote may
// hold the delimiter up to its second double quote, and loses its first character and the
// last character before its delimiter (or before the end of the text).
//
// Edge cases: an empty source gives one empty token; empty tokens (doubled, leading or
// trailing delimiters) stay in the list; nothing is trimmed and a tab is an ordinary character.
// A double quote is special only as a token's first character; a token that is only two
// quotes is empty; text after the closing quote keeps that quote and loses its own last
// character instead ("ab"cd -> ab"c). A quote that is never closed makes the token run to the
// end of the text without its opening quote, later delimiters included. An empty delimiter
// cannot cut anything: the whole source comes back as one token.
QStringList splitQuoted(const QString &source, const QString &delimiter);

} // namespace Module1
