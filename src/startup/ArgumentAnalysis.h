#pragma once

#include <QStringList>

class ArgumentTarget;

// Applies the command-line tokens (as Module1::splitQuoted made them) to target and registers
// each file name, in token order. Returns whether the command line was valid; shows nothing.
//
// Options, compared case-sensitively: /w="title", /v, /g, /i=n, /k="keyword", /c=sjis, /c=euc,
// /c=utf8, /c=auto.
// A token that begins with "/" is an option when it has exactly two characters or when its
// second character is an option letter and its third is "="; any other token that begins with
// "/" and holds a further "/" is an absolute file name (/var/log/app.log, /var/w=x); anything
// else beginning with "/" is an option too, and an unknown one.
//
// Edge cases: an option that is malformed or unknown ("/", /x, /V, /vv, /i1000, /w=My, /w=")
// stops the analysis with false, so later file names are not registered; /c= with another
// value (/c=SJIS) gives false but the analysis goes on. /i=n rounds n half to even, then keeps
// it within 100..10000 however large it is (3000000000 -> 10000) and drops it to a multiple of
// 100 (150 -> 100, 2550 -> 2500); a value that is not a number ("abc", "inf") gives false.
// Empty tokens and a token that is one tab are skipped. At most ten files are registered, the
// rest are skipped silently; the same name twice is registered twice.
bool analyzeArgument(const QStringList &strArg, ArgumentTarget &target);
