// Command-line splitting and analysis on arbitrary text. Besides not crashing:
// - splitting never invents text: without quotes the tokens joined by the delimiter give the
//   source back, with quotes they are never longer than it;
// - the analysis registers at most ten files, each a token as it stands, never an empty one, a
//   lone tab or an option; intervals stay within 100..10000 in steps of 100; the character
//   set is one of the four;
// - the input's bytes as a file name come back as the same bytes, and text that was never
//   bytes keeps its characters on the way to the system and back.

#include "FuzzCheck.h"

#include "engine/CharacterSets.h"
#include "platform/NativePath.h"
#include "startup/ArgumentAnalysis.h"
#include "startup/ArgumentTarget.h"
#include "startup/ArgumentTokenizer.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

class RecordingTarget : public ArgumentTarget
{
public:
    void setWindowTitle(const QString &) override { }
    void setViewMode(bool) override { }
    void setGrepMode(bool) override { }
    void setInterval(int milliseconds) override
    {
        fuzzCheck(milliseconds >= 100 && milliseconds <= 10000 && milliseconds % 100 == 0,
                  "interval within 100..10000 in steps of 100");
    }
    void setGrepKeyword(const QString &) override { }
    void setCharacterSet(qint32 characterSet) override
    {
        fuzzCheck(characterSet >= CharacterSets::kShiftJis
                      && characterSet <= CharacterSets::kAutomatic,
                  "a known character set");
    }
    int fileCount() const override { return int(files.size()); }
    void addFile(const QString &fileName) override { files.append(fileName); }

    QStringList files;
};

QString delimiterFor(uint8_t selector, const QString &source)
{
    // Mostly the blank the program uses; sometimes a longer delimiter, or one cut from the
    // input itself, so that stepping over a delimiter of another length is exercised.
    switch (selector % 4) {
    case 2:
        return QStringLiteral(", ");
    case 3: {
        const QString cut = source.left(1 + selector / 4 % 3);
        return cut.isEmpty() ? QStringLiteral("\"") : cut;
    }
    default:
        return QStringLiteral(" ");
    }
}

void checkSplit(const QString &source, const QString &delimiter)
{
    const QStringList tokens = Module1::splitQuoted(source, delimiter);
    fuzzCheck(!tokens.isEmpty(), "at least one token");
    if (!source.contains(QLatin1Char('"'))) {
        fuzzCheck(tokens.join(delimiter) == source, "unquoted tokens rebuild the source");
        return;
    }
    qsizetype total = (tokens.size() - 1) * delimiter.size();
    for (const QString &token : tokens)
        total += token.size();
    fuzzCheck(total <= source.size(), "tokens are never longer than the source");
}

void checkAnalysis(const QStringList &tokens)
{
    RecordingTarget target;
    analyzeArgument(tokens, target);
    fuzzCheck(target.files.size() <= 10, "at most ten files from the command line");
    qsizetype next = 0;
    for (const QString &file : target.files) {
        fuzzCheck(!file.isEmpty() && file != QLatin1String("\t"), "no empty or tab file name");
        fuzzCheck(!file.startsWith(QLatin1Char('/')) || file.indexOf(QLatin1Char('/'), 1) > 0,
                  "a file beginning with / holds a further /");
        next = tokens.indexOf(file, next);
        fuzzCheck(next >= 0, "files are tokens as they stand, in token order");
        ++next;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const QString source
        = QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    checkSplit(source, delimiterFor(data[0], source));
    checkAnalysis(Module1::splitQuoted(source, QStringLiteral(" ")));

    const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    fuzzCheck(NativePath::toBytes(NativePath::fromBytes(bytes)) == bytes,
              "a file name's bytes survive the round trip");
    fuzzCheck(NativePath::fromBytes(NativePath::toBytes(source)) == source,
              "text that was never bytes keeps its characters");
    return 0;
}
