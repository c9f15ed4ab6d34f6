#include "platform/IniSettingsStore.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

#include <filesystem>
#include <optional>
#include <system_error>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// One line of the file as the parser understands it. Everything else about the line stays in
// its raw bytes, which are what gets written back.
struct ParsedLine
{
    enum class Kind { Other, Section, Key };
    Kind kind = Kind::Other;
    QString name; // section or key name, blanks around it removed
    qsizetype equalsAt = -1; // for a key: offset of "=" in the raw line
    QString value;
};

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// A name the file can hold and give back unchanged.
bool isStorableName(const QString &name)
{
    return !name.isEmpty() && name == name.trimmed() && !hasLineBreak(name);
}

bool isStorableSection(const QString &section)
{
    return isStorableName(section) && !section.contains(QLatin1Char(']'));
}

bool isStorableKey(const QString &key)
{
    return isStorableName(key) && !key.contains(QLatin1Char('=')) && !key.startsWith(u'[')
        && !key.startsWith(u';') && !key.startsWith(u'#');
}

bool isQuoted(const QString &text)
{
    return text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'));
}

// Reading trims blanks and removes one pair of surrounding quotes, so only values that would
// lose something that way are quoted when written.
QByteArray encodeValue(const QString &value)
{
    if (!value.isEmpty() && (value != value.trimmed() || isQuoted(value)))
        return '"' + value.toUtf8() + '"';
    return value.toUtf8();
}

QString decodeValue(const QByteArray &raw)
{
    const QString value = QString::fromUtf8(raw).trimmed();
    return isQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

ParsedLine parseLine(QByteArray body, bool first)
{
    if (first && body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    if (body.endsWith('\r'))
        body.chop(1);

    ParsedLine parsed;
    const QByteArray trimmed = body.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        if (close > 0) {
            parsed.kind = ParsedLine::Kind::Section;
            parsed.name = QString::fromUtf8(trimmed.mid(1, close - 1)).trimmed();
        }
        return parsed;
    }
    if (trimmed.startsWith(';') || trimmed.startsWith('#'))
        return parsed;
    const qsizetype equals = body.indexOf('=');
    if (equals < 0)
        return parsed;
    const QString key = QString::fromUtf8(body.left(equals)).trimmed();
    if (key.isEmpty())
        return parsed;
    parsed.kind = ParsedLine::Kind::Key;
    parsed.name = key;
    parsed.value = decodeValue(body.mid(equals + 1));
    return parsed;
}

// The file as a list of lines without their "\n"; a line may still end in "\r".
class IniLines
{
public:
    // An absent file is an empty store; nullopt when the file exists but cannot be read.
    static std::optional<IniLines> load(const QString &path)
    {
        IniLines lines;
        QFile file(path);
        if (!file.exists())
            return lines;
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        if (data.isEmpty())
            return lines;
        lines.m_lines = data.split('\n');
        // The "\n" that ends the last line leaves an empty piece behind.
        if (data.endsWith('\n'))
            lines.m_lines.removeLast();
        // Every line is written back with a line end; the last one gets the file's kind.
        else if (!lines.m_lines.constLast().endsWith('\r'))
            lines.m_lines.last() += lines.lineEndExtra();
        return lines;
    }

    QByteArray toBytes() const
    {
        QByteArray data;
        for (const QByteArray &line : m_lines)
            data += line + '\n';
        return data;
    }

    std::optional<QString> value(const QString &section, const QString &key) const
    {
        const qsizetype at = findKey(section, key);
        if (at < 0)
            return std::nullopt;
        return parseLine(m_lines.at(at), at == 0).value;
    }

    void setValue(const QString &section, const QString &key, const QString &value)
    {
        const qsizetype at = findKey(section, key);
        if (at >= 0) {
            // Keeps the key as it was spelt and whatever stood before the "=".
            QByteArray &line = m_lines[at];
            const QByteArray eol = line.endsWith('\r') ? QByteArray("\r") : QByteArray();
            line = line.left(line.indexOf('=') + 1) + encodeValue(value) + eol;
            return;
        }
        const QByteArray newLine = key.toUtf8() + '=' + encodeValue(value) + lineEndExtra();
        const qsizetype sectionEnd = endOfFirstSection(section);
        if (sectionEnd >= 0) {
            m_lines.insert(sectionEnd, newLine);
            return;
        }
        if (!m_lines.isEmpty() && !m_lines.constLast().trimmed().isEmpty())
            m_lines.append(lineEndExtra());
        m_lines.append('[' + section.toUtf8() + ']' + lineEndExtra());
        m_lines.append(newLine);
    }

private:
    // Index of the first line that holds key inside a section of that name, or -1.
    qsizetype findKey(const QString &section, const QString &key) const
    {
        bool inSection = false;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const ParsedLine parsed = parseLine(m_lines.at(i), i == 0);
            if (parsed.kind == ParsedLine::Kind::Section)
                inSection = sameName(parsed.name, section);
            else if (inSection && parsed.kind == ParsedLine::Kind::Key
                     && sameName(parsed.name, key))
                return i;
        }
        return -1;
    }

    // Where a new key of the first section of that name goes: behind its last non-blank line,
    // so blank lines that set sections apart stay between them. -1 without such a section.
    qsizetype endOfFirstSection(const QString &section) const
    {
        qsizetype lastContent = -1;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const ParsedLine parsed = parseLine(m_lines.at(i), i == 0);
            if (parsed.kind == ParsedLine::Kind::Section) {
                if (lastContent >= 0)
                    break;
                if (sameName(parsed.name, section))
                    lastContent = i;
            } else if (lastContent >= 0 && !m_lines.at(i).trimmed().isEmpty()) {
                lastContent = i;
            }
        }
        return lastContent < 0 ? -1 : lastContent + 1;
    }

    // New lines follow the file's own line ends: CR LF when its first line has them.
    QByteArray lineEndExtra() const
    {
        return !m_lines.isEmpty() && m_lines.constFirst().endsWith('\r') ? QByteArray("\r")
                                                                         : QByteArray();
    }

    QByteArrayList m_lines;
};

#ifdef Q_OS_UNIX
// The new file takes the old one's permission bits: a store the user made private (600) must
// not become readable by everyone (644, from the umask) by being saved.
bool takePermissionsOf(const QString &original, const QFile &replacement)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(original).constData(), &status) != 0)
        return errno == ENOENT; // a first save keeps the umask's bits
    return ::fchmod(replacement.handle(), status.st_mode & 07777) == 0;
}

// After the rename, the folder's entry is made durable too; the store is already whole by then,
// so a folder that cannot be synced (some network file systems) is no failure of the save.
void syncFolderOf(const QString &path)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}
#endif

QString fileStem(const QString &application)
{
    // Case-folded so that every spelling of the name reaches the same file; characters that
    // would leave the directory or confuse a shell listing are replaced.
    QString stem = application.toCaseFolded();
    for (QChar &c : stem) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return stem;
}

} // namespace

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(userConfigDirectory())
{
}

IniSettingsStore::IniSettingsStore(const QString &directory)
    : m_directory(directory)
{
}

QString IniSettingsStore::userConfigDirectory()
{
    // Relative paths in XDG variables are to be ignored, not resolved against the current
    // directory.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome))
        return QDir::cleanPath(configHome);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString IniSettingsStore::filePath(const QString &application) const
{
    if (application.isEmpty())
        return {};
    return m_directory + QLatin1Char('/') + fileStem(application) + QStringLiteral(".ini");
}

QString IniSettingsStore::read(const QString &application, const QString &section,
                               const QString &key, const QString &defaultValue) const
{
    if (application.isEmpty() || !isStorableSection(section) || !isStorableKey(key))
        return defaultValue;
    const auto lines = IniLines::load(filePath(application));
    if (!lines)
        return defaultValue;
    return lines->value(section, key).value_or(defaultValue);
}

bool IniSettingsStore::save(const QString &application, const QString &section, const QString &key,
                            const QString &value)
{
    if (application.isEmpty() || !isStorableSection(section) || !isStorableKey(key)
        || hasLineBreak(value))
        return false;
    const QString path = filePath(application);
    if (!QDir().mkpath(m_directory))
        return false;
    // Two instances saving at once would each rewrite the file from what they read before
    // the other's save, and one save would be lost; a name lookup racing a rename can even
    // miss the file for a moment. Reading, changing and replacing the file is therefore done
    // by one saver at a time, across processes.
    // A folder where the lock file belongs is never released: fail now, not after the wait.
    const QString lockPath = path + QStringLiteral(".lock");
    if (QFileInfo(lockPath).isDir())
        return false;
    QLockFile lock(lockPath);
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(5000))
        return false;
    auto lines = IniLines::load(path);
    if (!lines)
        return false;
    lines->setValue(section, key, value);
    return replaceWhole(path, lines->toBytes());
}

bool IniSettingsStore::replaceWhole(const QString &path, const QByteArray &data)
{
    // A store that is a symbolic link keeps its link: the file it names is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    // The new contents go to a fresh file beside the target, which is then renamed over it in
    // one step, so the store is never half written: a crash or a full disk leaves the old
    // file. Unbuffered, so that a short write (full disk, file-size limit) shows in write().
    const QString temporary = target + QStringLiteral(".new-")
        + QString::number(QRandomGenerator::global()->generate64(), 36);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return false;
    bool written = file.write(data) == data.size();
#ifdef Q_OS_UNIX
    // On the disk before the rename: otherwise a crash soon after the save could leave the
    // new name pointing at a file whose blocks were never written (an empty store).
    written = written && takePermissionsOf(target, file) && ::fsync(file.handle()) == 0;
#endif
    file.close();
    std::error_code error;
    if (written && file.error() == QFileDevice::NoError) {
        std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                                QFile::encodeName(target).toStdString(), error);
        if (!error) {
#ifdef Q_OS_UNIX
            syncFolderOf(target);
#endif
            return true;
        }
    }
    QFile::remove(temporary);
    return false;
}
