#include "view/store/BlockSealer.h"

#include <new>
#include <system_error>

BlockSealer::BlockSealer(const BlockCodec &codec, SpillFile *spill)
    : m_codec(codec)
    , m_spill(spill)
{
}

BlockSealer::~BlockSealer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        dropWaiting();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BlockSealer::seal(qsizetype block, QByteArray &plain, qsizetype bytes)
{
    std::unique_lock lock(m_mutex);
    m_jobs.push_back(Job {block, {}, bytes, false, {}});
    m_jobs.back().plain = std::move(plain);
    if (!m_thread.joinable() && !m_inline) {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error &) {
            m_inline = true;
        }
    }
    if (m_inline) {
        sealNext(lock);
        return;
    }
    lock.unlock();
    m_changed.notify_all();
}

void BlockSealer::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || m_next < qsizetype(m_jobs.size()); });
        if (m_stop)
            return;
        sealNext(lock);
    }
}

void BlockSealer::sealNext(std::unique_lock<std::mutex> &lock)
{
    // References into a deque outlive additions at its end and removals of other jobs.
    Job &job = m_jobs[size_t(m_next)];
    m_busy = true;
    lock.unlock();
    m_codec.compress(QByteArrayView(job.plain).first(job.bytes), m_frame);

    // The disk is written without the jobs' lock: the store's thread takes that lock on every
    // append, and must not wait while a slow disk takes a frame.
    Sealed result;
    result.block = job.block;
    result.frameBytes = qint32(m_frame.size());
    {
        const std::lock_guard file(m_fileMutex);
        if (const std::optional<qint64> at = m_spill ? m_spill->append(m_frame) : std::nullopt) {
            result.spilledAt = *at;
            if (!m_kept.empty()) {
                // The file takes frames again (space was freed): one kept frame follows each
                // new one, so memory drains without one block paying for all of them.
                const auto &[block, frame] = m_kept.back();
                if (const std::optional<qint64> keptAt = m_spill->append(frame)) {
                    result.movedOutBlock = block;
                    result.movedOutAt = *keptAt;
                    m_kept.pop_back();
                }
            }
        } else {
            try {
                result.frame = QByteArray(m_frame.constData(), m_frame.size());
                if (m_spill)
                    m_kept.emplace_back(job.block, result.frame);
            } catch (const std::bad_alloc &) {
                // Without memory for its frame the block reads as damaged, its offsets intact.
                result.frame = QByteArray();
            }
        }
    }

    lock.lock();
    job.result = std::move(result);
    job.sealed = true;
    ++m_next;
    m_busy = false;
    m_changed.notify_all();
}

std::optional<BlockSealer::Sealed> BlockSealer::takeSealed(bool wait)
{
    std::unique_lock lock(m_mutex);
    if (wait)
        m_changed.wait(lock, [this] { return m_jobs.empty() || m_jobs.front().sealed; });
    if (m_jobs.empty() || !m_jobs.front().sealed)
        return std::nullopt;
    Sealed sealed = std::move(m_jobs.front().result);
    sealed.plain = std::move(m_jobs.front().plain);
    m_jobs.pop_front();
    --m_next;
    return sealed;
}

QByteArrayView BlockSealer::plainOf(qsizetype block) const
{
    const Job &job = m_jobs[size_t(block - m_jobs.front().block)];
    return QByteArrayView(job.plain).first(job.bytes);
}

void BlockSealer::waitUntilSealed() const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_next == qsizetype(m_jobs.size()); });
}

qint64 BlockSealer::heldBytes() const
{
    const std::lock_guard lock(m_mutex);
    qint64 bytes = m_frame.capacity();
    for (const Job &job : m_jobs)
        bytes += job.plain.capacity() + job.result.frame.capacity();
    return bytes;
}

void BlockSealer::dropWaiting()
{
    m_jobs.erase(m_jobs.begin() + m_next + (m_busy ? 1 : 0), m_jobs.end());
}

void BlockSealer::clear()
{
    std::unique_lock lock(m_mutex);
    dropWaiting();
    m_changed.wait(lock, [this] { return !m_busy; });
    m_jobs.clear();
    m_next = 0;
    m_frame = QByteArray();
    const std::lock_guard file(m_fileMutex);
    m_kept.clear();
    m_kept.shrink_to_fit();
    if (m_spill)
        m_spill->clear();
}

bool BlockSealer::readSpilled(qint64 offset, QByteArray &buffer) const
{
    const std::lock_guard file(m_fileMutex);
    return m_spill && m_spill->read(offset, buffer);
}

qint64 BlockSealer::spilledBytes() const
{
    const std::lock_guard file(m_fileMutex);
    return m_spill ? m_spill->size() : 0;
}
