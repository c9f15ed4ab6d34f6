#include "view/store/BlockPrefetch.h"

#include "view/store/BlockCodec.h"
#include "view/store/SpillFile.h"

BlockPrefetch::BlockPrefetch(const BlockCodec &codec, const SpillFile *spill)
    : m_codec(codec)
    , m_spill(spill)
{
}

BlockPrefetch::~BlockPrefetch()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool BlockPrefetch::read(const Job &job, QByteArray &plain, QByteArray &frameRead) const
{
    // The same reading as the store's own (LogStore::plainBytes).
    plain.resize(job.plainBytes);
    if (job.spilledAt < 0)
        return m_codec.decompress(job.frame, plain);
    frameRead.resize(job.frameBytes);
    return m_spill && m_spill->read(job.spilledAt, frameRead)
        && m_codec.decompress(frameRead, plain);
}

void BlockPrefetch::start(Job job)
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_state != State::Running; });
        m_job = std::move(job);
        m_state = State::Queued;
    }
    m_changed.notify_all();
}

bool BlockPrefetch::take(QByteArray &plain)
{
    std::unique_lock lock(m_mutex);
    if (m_state == State::Queued) {
        // Not begun: quicker done here than waited for.
        m_state = State::Idle;
        const Job job = std::move(m_job);
        lock.unlock();
        return read(job, plain, m_callerFrameRead);
    }
    m_changed.wait(lock, [this] { return m_state != State::Running; });
    if (m_state != State::Done)
        return false;
    m_state = State::Idle;
    plain.swap(m_plain);
    return m_ok;
}

void BlockPrefetch::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_quit || m_state == State::Queued; });
        if (m_quit)
            return;
        m_state = State::Running;
        const Job job = std::move(m_job);
        lock.unlock();
        const bool ok = read(job, m_plain, m_frameRead);
        lock.lock();
        m_ok = ok;
        m_state = State::Done;
        m_changed.notify_all();
    }
}
