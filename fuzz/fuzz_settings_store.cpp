// The settings file as a user or a crash may leave it: the fuzz bytes become the store file,
// then one key is saved. Whatever the file held:
// - the saved value reads back exactly, and no other key's value changes;
// - every other line is kept byte for byte: the save replaces the key's own line or inserts a
//   block of one to three lines (key, or blank line, section header and key), and at most adds
//   the line end a last line lacked;
// - no temporary file is left beside the store.
//
// Byte 0 picks the section spelling and the key, byte 1 the value: from a list of awkward
// values, or (odd byte 1) the first line of the rest, which then is not part of the file.

#include "FuzzCheck.h"

#include "platform/IniSettingsStore.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QString kApplication = QStringLiteral("PIVEX");
const char *const kSections[] = {"Option", "option", "OPTION", "Other"};
const char *const kKeys[] = {"Interval", "Encode", "FontName", "FontSize"};
const char *const kValues[]
    = {"1000", "",        " padded ", "\"quoted\"",
       "\"",   "a=b ; c", "[Option]", "\xef\xbc\xad\xef\xbc\xb3 \xe3\x82\xb4",
       "\t",   "#"};

QByteArrayList linesOf(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    QByteArrayList lines = data.split('\n');
    if (data.endsWith('\n'))
        lines.removeLast();
    return lines;
}

struct Reads
{
    QString values[std::size(kSections)][std::size(kKeys)];
};

Reads readAll(const IniSettingsStore &store)
{
    Reads reads;
    for (size_t s = 0; s < std::size(kSections); ++s) {
        for (size_t k = 0; k < std::size(kKeys); ++k) {
            reads.values[s][k]
                = store.read(kApplication, QString::fromLatin1(kSections[s]),
                             QString::fromLatin1(kKeys[k]), QStringLiteral("<absent>"));
        }
    }
    return reads;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 64 * 1024)
        return 0;
    static QTemporaryDir dir;
    IniSettingsStore store(dir.path());
    const QString path = store.filePath(kApplication);

    const size_t sectionIndex = data[0] % std::size(kSections);
    const size_t keyIndex = data[0] / 4 % std::size(kKeys);
    const QString section = QString::fromLatin1(kSections[sectionIndex]);
    const QString key = QString::fromLatin1(kKeys[keyIndex]);
    QByteArray old(reinterpret_cast<const char *>(data) + 2, qsizetype(size - 2));
    QString value;
    if (data[1] & 1) {
        const qsizetype lineEnd = old.indexOf('\n');
        QByteArray line = old.left(lineEnd < 0 ? old.size() : lineEnd);
        old.remove(0, lineEnd < 0 ? old.size() : lineEnd + 1);
        value = QString::fromUtf8(line.replace('\r', QByteArray()));
    } else {
        value = QString::fromUtf8(kValues[data[1] / 2 % std::size(kValues)]);
    }

    {
        QFile file(path);
        fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                      && file.write(old) == old.size(),
                  "the store file can be written");
    }
    // A key that exists reads the same whatever the default.
    const bool existed = store.read(kApplication, section, key, QStringLiteral("a"))
        == store.read(kApplication, section, key, QStringLiteral("b"));
    const Reads before = readAll(store);

    fuzzCheck(store.save(kApplication, section, key, value), "the save succeeds");
    fuzzCheck(store.read(kApplication, section.toUpper(), key.toLower(), QStringLiteral("x"))
                  == value,
              "the saved value reads back exactly");
    const Reads after = readAll(store);
    for (size_t s = 0; s < std::size(kSections); ++s) {
        for (size_t k = 0; k < std::size(kKeys); ++k) {
            const bool same = k == keyIndex && (s == 3) == (sectionIndex == 3);
            fuzzCheck(same || after.values[s][k] == before.values[s][k],
                      "other keys keep their values");
        }
    }

    QFile file(path);
    fuzzCheck(file.open(QIODevice::ReadOnly), "the store can be read back");
    const QByteArrayList oldLines = linesOf(old);
    const QByteArrayList newLines = linesOf(file.readAll());
    const bool lastLineOpen = !old.isEmpty() && !old.endsWith('\n');
    const auto kept = [&](qsizetype o, qsizetype n) {
        const QByteArray &was = oldLines.at(o);
        const QByteArray &is = newLines.at(n);
        return is == was || (lastLineOpen && o == oldLines.size() - 1 && is == was + '\r');
    };
    const qsizetype added = newLines.size() - oldLines.size();
    if (existed) {
        fuzzCheck(added == 0, "replacing a key keeps the number of lines");
        int changed = 0;
        for (qsizetype i = 0; i < oldLines.size(); ++i)
            changed += kept(i, i) ? 0 : 1;
        fuzzCheck(changed <= 1, "replacing a key changes its line only");
    } else {
        fuzzCheck(added >= 1 && added <= 3, "a new key adds one to three lines");
        qsizetype p = 0;
        while (p < oldLines.size() && kept(p, p))
            ++p;
        for (qsizetype i = p; i < oldLines.size(); ++i)
            fuzzCheck(kept(i, i + added), "a new key inserts one block and keeps the rest");
    }
    fuzzCheck(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System)
                  == QStringList {QStringLiteral("pivex.ini")},
              "no temporary file is left behind");
    return 0;
}
