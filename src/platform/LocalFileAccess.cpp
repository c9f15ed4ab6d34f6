#include "platform/LocalFileAccess.h"

#include "platform/NativePath.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
class PosixOpenFile : public OpenFile
{
public:
    explicit PosixOpenFile(int fd)
        : m_fd(fd)
    {
    }
    ~PosixOpenFile() override { ::close(m_fd); }
    PosixOpenFile(const PosixOpenFile &) = delete;
    PosixOpenFile &operator=(const PosixOpenFile &) = delete;

    std::optional<qint64> length() const override
    {
        struct stat st
        {
        };
        if (::fstat(m_fd, &st) != 0)
            return std::nullopt;
        return qint64(st.st_size);
    }

    std::optional<FileIdentity> identity() const override
    {
        struct stat st
        {
        };
        if (::fstat(m_fd, &st) != 0)
            return std::nullopt;
        return FileIdentity {quint64(st.st_dev), quint64(st.st_ino)};
    }

    bool seek(qint64 offset) override { return ::lseek(m_fd, off_t(offset), SEEK_SET) == offset; }

    bool read(qint64 n, QByteArray &buffer) override
    {
        if (n < 0 || n > std::numeric_limits<qsizetype>::max())
            return false;
        buffer.reserve(qsizetype(n)); // just that: resize() alone would round the capacity up
        buffer.resize(qsizetype(n));
        qint64 got = 0;
        while (got < n) {
            const ssize_t r = ::read(m_fd, buffer.data() + got, size_t(n - got));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (r == 0)
                break; // the file was cut short meanwhile
            got += r;
        }
        buffer.resize(qsizetype(got));
        return true;
    }

private:
    int m_fd;
};
#else
class QtOpenFile : public OpenFile
{
public:
    explicit QtOpenFile(const QString &path)
        : m_file(path)
    {
    }
    bool open() { return m_file.open(QIODevice::ReadOnly); }
    std::optional<qint64> length() const override { return m_file.size(); }
    // No identity here: a replaced file is noticed only when it is shorter than the position.

    bool seek(qint64 offset) override { return m_file.seek(offset); }
    bool read(qint64 n, QByteArray &buffer) override
    {
        buffer.resize(qsizetype(n));
        const qint64 got = m_file.read(buffer.data(), n);
        buffer.resize(qsizetype(std::max<qint64>(got, 0)));
        return got >= 0;
    }

private:
    QFile m_file;
};
#endif

} // namespace

bool LocalFileAccess::exists(const QString &path) const
{
#ifdef Q_OS_UNIX
    const auto native = NativePath::systemBytes(path);
    struct stat st
    {
    };
    return native && ::stat(native->constData(), &st) == 0 && !S_ISDIR(st.st_mode);
#else
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
#endif
}

std::unique_ptr<OpenFile> LocalFileAccess::openForReading(const QString &path) const
{
#ifdef Q_OS_UNIX
    const auto native = NativePath::systemBytes(path);
    if (!native)
        return nullptr;
    const int fd = ::open(native->constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<PosixOpenFile>(fd);
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr; // closes the descriptor on the way out
    return file;
#else
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QtOpenFile>(path);
    if (!file->open())
        return nullptr;
    return file;
#endif
}

bool LocalFileAccess::nameIsGone(const QString &path) const
{
#ifdef Q_OS_UNIX
    const auto native = NativePath::systemBytes(path);
    struct stat st
    {
    };
    if (!native)
        return false;
    if (::stat(native->constData(), &st) == 0)
        return !S_ISREG(st.st_mode);
    return errno == ENOENT || errno == ENOTDIR;
#else
    const QFileInfo info(path);
    return !info.exists() || !info.isFile();
#endif
}

std::optional<QString> LocalFileAccess::otherNameOf(const QString &path,
                                                    const FileIdentity &identity) const
{
#ifdef Q_OS_UNIX
    const auto native = NativePath::systemBytes(path);
    if (!native)
        return std::nullopt;
    const auto [folder, own] = NativePath::splitFolder(*native);
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return std::nullopt;
    std::optional<QString> found;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st
        {
        };
        // Every regular name is looked at: overlay file systems give readdir inode numbers that
        // differ from the files' own. A rotation is rare, and this runs once for it.
        const bool maybeRegular = entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN;
        if (!maybeRegular || own == entry->d_name
            || ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && quint64(st.st_dev) == identity.device
            && quint64(st.st_ino) == identity.inode) {
            found = NativePath::fromBytes(QByteArray(native->chopped(own.size()) + entry->d_name));
            break;
        }
    }
    ::closedir(dir);
    return found;
#else
    Q_UNUSED(path);
    Q_UNUSED(identity);
    return std::nullopt;
#endif
}
