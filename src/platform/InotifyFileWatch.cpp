#include "platform/InotifyFileWatch.h"

#include "platform/NativePath.h"

#include <QSocketNotifier>

#include <set>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A write, a truncation (both IN_MODIFY), a chmod or touch, and the file itself going.
constexpr quint32 kFileEvents = IN_MODIFY | IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF;
// Names coming and going, and the folder itself going. Names of files already unlinked are
// of no interest (a deleted log that is still being written).
constexpr quint32 kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
// What says that the name may lead to another file, or to none.
constexpr quint32 kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr quint32 kGoneEvents = IN_MOVE_SELF | IN_DELETE_SELF | IN_IGNORED;

} // namespace

InotifyFileWatch::InotifyFileWatch()
    : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd < 0)
        return; // too many instances: every entry is polled
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    m_hold.setSingleShot(true);
    m_hold.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_hold, &QTimer::timeout, m_notifier.get(),
                     [this] { m_notifier->setEnabled(true); });
}

InotifyFileWatch::~InotifyFileWatch()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd); // drops every watch with it
}

bool InotifyFileWatch::add(int entry, const QString &path)
{
    remove(entry);
    if (m_fd < 0)
        return false;
    const std::optional<QByteArray> native = NativePath::systemBytes(path);
    if (!native)
        return false;
    Watched watched;
    watched.path = *native;
    auto [folder, name] = NativePath::splitFolder(watched.path);
    watched.folder = std::move(folder);
    watched.name = std::move(name);
    watched.folderWatch = ::inotify_add_watch(m_fd, watched.folder.constData(), kFolderEvents);
    if (watched.folderWatch < 0)
        return false;
    if (!aimFileWatch(watched)) {
        release(watched.folderWatch);
        return false;
    }
    m_entries[entry] = watched;
    return true;
}

void InotifyFileWatch::remove(int entry)
{
    const auto it = m_entries.find(entry);
    if (it == m_entries.end())
        return;
    const Watched watched = it->second;
    m_entries.erase(it);
    release(watched.fileWatch);
    release(watched.folderWatch);
}

bool InotifyFileWatch::isWatched(int entry) const
{
    return m_entries.count(entry) > 0;
}

void InotifyFileWatch::setHandler(std::function<void(int)> onChange)
{
    m_onChange = std::move(onChange);
}

void InotifyFileWatch::holdNotices(int milliseconds)
{
    if (!m_notifier || milliseconds <= 0)
        return;
    m_notifier->setEnabled(false);
    m_hold.start(milliseconds);
}

bool InotifyFileWatch::aimFileWatch(Watched &watched)
{
    const int before = watched.fileWatch;
    watched.fileWatch = -1;
    struct stat st
    {
    };
    // A folder or a FIFO under the name is not followed; the folder says when that changes.
    if (::stat(watched.path.constData(), &st) == 0 && S_ISREG(st.st_mode))
        watched.fileWatch = ::inotify_add_watch(m_fd, watched.path.constData(), kFileEvents);
    const bool refused
        = watched.fileWatch < 0 && errno != ENOENT && errno != ENOTDIR && S_ISREG(st.st_mode);
    if (before != watched.fileWatch)
        release(before);
    return !refused;
}

void InotifyFileWatch::release(int watch)
{
    if (watch < 0)
        return;
    for (const auto &[entry, watched] : m_entries) {
        if (watched.fileWatch == watch || watched.folderWatch == watch)
            return;
    }
    ::inotify_rm_watch(m_fd, watch);
}

void InotifyFileWatch::forget(int watch)
{
    for (auto &[entry, watched] : m_entries) {
        if (watched.fileWatch == watch)
            watched.fileWatch = -1;
        if (watched.folderWatch == watch)
            watched.folderWatch = -1;
    }
}

void InotifyFileWatch::readEvents()
{
    std::set<int> changed, reaim, lost;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // EAGAIN: all read
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const QByteArray name = event->len ? QByteArray(event->name) : QByteArray();
            for (const auto &[entry, watched] : m_entries) {
                const bool file = watched.fileWatch >= 0 && event->wd == watched.fileWatch;
                const bool folder = event->wd == watched.folderWatch;
                const bool named = folder && (event->mask & kNameEvents) && name == watched.name;
                const bool gone = event->mask & kGoneEvents;
                // Lost events may have renamed anything: every entry is read and aimed again.
                const bool overflow = event->mask & IN_Q_OVERFLOW;
                if (file || named || (folder && gone) || overflow)
                    changed.insert(entry);
                if ((file && gone) || named || overflow)
                    reaim.insert(entry);
                if (folder && gone)
                    lost.insert(entry); // the name is no longer in the folder watched
            }
            if (event->mask & IN_IGNORED)
                forget(event->wd);
        }
    }
    for (auto &[entry, watched] : m_entries) {
        if (reaim.count(entry) && !lost.count(entry) && !aimFileWatch(watched))
            lost.insert(entry);
    }
    for (const int entry : lost)
        remove(entry);
    for (const int entry : changed) {
        if (m_onChange)
            m_onChange(entry);
    }
}

#else

InotifyFileWatch::InotifyFileWatch() = default;
InotifyFileWatch::~InotifyFileWatch() = default;
bool InotifyFileWatch::add(int, const QString &)
{
    return false;
}
void InotifyFileWatch::remove(int) { }
bool InotifyFileWatch::isWatched(int) const
{
    return false;
}
void InotifyFileWatch::setHandler(std::function<void(int)> onChange)
{
    m_onChange = std::move(onChange);
}
void InotifyFileWatch::holdNotices(int) { }
void InotifyFileWatch::readEvents() { }
bool InotifyFileWatch::aimFileWatch(Watched &)
{
    return false;
}
void InotifyFileWatch::release(int) { }
void InotifyFileWatch::forget(int) { }

#endif
