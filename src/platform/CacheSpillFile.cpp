#include "platform/CacheSpillFile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// Makes every missing folder of path, each only for its owner (as the cache folder is meant
// to be); true when path is a folder at the end.
bool makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700); // most exist already; the last check tells
    ::mkdir(path.constData(), 0700);
    struct stat st
    {
    };
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A file in folder that has no name: O_TMPFILE, else a fresh name unlinked at once.
int openNameless(const QByteArray &folder)
{
#ifdef O_TMPFILE
    // O_EXCL: the file can never be given a name afterwards (linkat through /proc) either.
    const int fd = ::open(folder.constData(), O_TMPFILE | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
#endif
    QByteArray name = folder + "/.pivex-spill-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named < 0)
        return -1;
    if (::unlink(name.constData()) != 0) {
        // A file others could see and open is no place for the log's text.
        ::close(named);
        return -1;
    }
    return named;
}
#endif

} // namespace

CacheSpillFile::CacheSpillFile(QByteArray folder)
    : m_folder(folder.isEmpty() ? defaultFolder() : std::move(folder))
{
}

CacheSpillFile::~CacheSpillFile()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

QByteArray CacheSpillFile::defaultFolder()
{
    // XDG paths must be absolute; a relative value is ignored, as other programs ignore it.
    const QByteArray configured = qgetenv("XDG_CACHE_HOME");
    if (configured.startsWith('/'))
        return configured;
    const QByteArray home = qgetenv("HOME");
    return (home.isEmpty() ? QFile::encodeName(QDir::homePath()) : home) + "/.cache";
}

bool CacheSpillFile::open()
{
    if (m_openTried)
        return m_fd >= 0;
    m_openTried = true;
#ifdef Q_OS_UNIX
    // A NUL would cut the path short and name another folder.
    if (m_folder.startsWith('/') && !m_folder.contains('\0') && makeFolders(m_folder))
        m_fd = openNameless(m_folder);
#endif
    return m_fd >= 0;
}

std::optional<qint64> CacheSpillFile::append(QByteArrayView bytes)
{
    if (!open())
        return std::nullopt;
#ifdef Q_OS_UNIX
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote
            = ::pwrite(m_fd, bytes.data() + done, size_t(bytes.size() - done), off_t(m_end + done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return std::nullopt; // what got written lies past m_end, free to be written over
        done += wrote;
    }
    const qint64 at = m_end;
    m_end += bytes.size();
    return at;
#else
    return std::nullopt;
#endif
}

bool CacheSpillFile::read(qint64 offset, QByteArray &buffer) const
{
    if (m_fd < 0 || offset < 0 || offset + buffer.size() > m_end)
        return false;
#ifdef Q_OS_UNIX
    qint64 done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(m_fd, buffer.data() + done, size_t(buffer.size() - done),
                                    off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
#else
    return false;
#endif
}

void CacheSpillFile::clear()
{
    m_end = 0;
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        (void)::ftruncate(m_fd, 0); // should it fail, the next appends write over the old bytes
#endif
}

qint64 CacheSpillFile::fileBytes() const
{
#ifdef Q_OS_UNIX
    struct stat st
    {
    };
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
        return qint64(st.st_size);
#endif
    return -1;
}
