#include "startup/ArgumentAnalysis.h"

#include "engine/CharacterSets.h"
#include "settings/WholeNumber.h"
#include "startup/ArgumentTarget.h"

namespace {

constexpr int kMaxFilesFromCommandLine = 10;
constexpr int kIntervalMinimum = 100;
constexpr int kIntervalMaximum = 10000;
constexpr int kIntervalStep = 100;

const QLatin1StringView kOptionLetters("wvgikc");

enum class Step { Continue, Invalid, Stop };

bool isOption(const QString &token)
{
    if (!token.startsWith(QLatin1Char('/')))
        return false;
    if (token.size() == 2)
        return true;
    if (token.size() >= 3 && kOptionLetters.contains(token.at(1))
        && token.at(2) == QLatin1Char('='))
        return true;
    // Absolute paths begin with "/" as well; one that holds a further "/" is a file.
    return token.indexOf(QLatin1Char('/'), 1) < 0;
}

// The value of /w="..." and /k="...": characters 3 and 4 are "=" and a double quote and the
// last character is a double quote. The two quotes must be different characters, so /w=" alone
// is refused rather than read with a negative length.
std::optional<QString> quotedValue(const QString &token)
{
    if (token.size() < 5 || token.at(2) != QLatin1Char('=') || token.at(3) != QLatin1Char('"')
        || !token.endsWith(QLatin1Char('"')))
        return std::nullopt;
    return token.mid(4, token.size() - 5);
}

// Any number, however large, lands within the bounds, on the step below it.
std::optional<int> boundInterval(const QString &text)
{
    const auto milliseconds = toClampedWholeNumber(text, kIntervalMinimum, kIntervalMaximum);
    if (!milliseconds)
        return std::nullopt;
    return *milliseconds / kIntervalStep * kIntervalStep;
}

Step applyOption(const QString &token, ArgumentTarget &target)
{
    if (token.size() < 2)
        return Step::Stop;
    const bool hasEquals = token.size() >= 3 && token.at(2) == QLatin1Char('=');

    switch (token.at(1).unicode()) {
    case u'w':
    case u'k': {
        const auto value = quotedValue(token);
        if (!value)
            return Step::Stop;
        if (token.at(1) == QLatin1Char('w'))
            target.setWindowTitle(*value);
        else
            target.setGrepKeyword(*value);
        return Step::Continue;
    }
    case u'v':
        if (token.size() != 2)
            return Step::Stop;
        target.setViewMode(true);
        return Step::Continue;
    case u'g':
        if (token.size() != 2)
            return Step::Stop;
        target.setGrepMode(true);
        return Step::Continue;
    case u'i': {
        if (!hasEquals)
            return Step::Stop;
        const auto milliseconds = boundInterval(token.mid(3));
        if (!milliseconds)
            return Step::Stop;
        target.setInterval(*milliseconds);
        return Step::Continue;
    }
    case u'c': {
        if (!hasEquals)
            return Step::Stop;
        const QString value = token.mid(3);
        if (value == QLatin1StringView("sjis"))
            target.setCharacterSet(CharacterSets::kShiftJis);
        else if (value == QLatin1StringView("euc"))
            target.setCharacterSet(CharacterSets::kEucJp);
        else if (value == QLatin1StringView("utf8"))
            target.setCharacterSet(CharacterSets::kUtf8);
        else if (value == QLatin1StringView("auto"))
            target.setCharacterSet(CharacterSets::kAutomatic);
        else
            return Step::Invalid;
        return Step::Continue;
    }
    default:
        return Step::Stop;
    }
}

} // namespace

bool analyzeArgument(const QStringList &strArg, ArgumentTarget &target)
{
    bool result = true;
    for (const QString &token : strArg) {
        if (isOption(token)) {
            const Step step = applyOption(token, target);
            if (step == Step::Stop)
                return false;
            if (step == Step::Invalid)
                result = false;
            continue;
        }
        if (token.isEmpty() || token == QLatin1StringView("\t"))
            continue;
        if (target.fileCount() < kMaxFilesFromCommandLine)
            target.addFile(token);
    }
    return result;
}
