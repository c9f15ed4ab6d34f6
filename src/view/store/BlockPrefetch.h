#pragma once

#include <QByteArray>

#include <condition_variable>
#include <mutex>
#include <thread>

class BlockCodec;
class SpillFile;

// Reads one sealed block back (from memory or the spill file) and decompresses it on a thread
// of its own, while a scan over the store works on the block before: a scan over the whole log
// (find, counting) then costs about the larger of the two, not their sum. Decompressing is
// half of such a scan.
//
// The thread is made at the first start() and waits, taking no time, between blocks; it goes
// with the object. On a busy machine the thread may not get a core in time: a block it has not
// begun when take() asks for it is read by the caller itself, so a scan is never slower than
// reading every block in turn by more than a lock or two a block. It touches only what a job hands
// it, the codec (whose calls keep no state) and the spill file's reads; the store must not clear or
// write the spill file while a job runs, which holds since jobs run only inside a scan, on the
// thread that owns the store.
class BlockPrefetch
{
public:
    struct Job
    {
        QByteArray frame; // a frame kept in memory; empty when it is in the spill file
        qint64 spilledAt = -1;
        qint32 frameBytes = 0;
        qint32 plainBytes = 0;
    };

    BlockPrefetch(const BlockCodec &codec, const SpillFile *spill);
    ~BlockPrefetch();
    BlockPrefetch(const BlockPrefetch &) = delete;
    BlockPrefetch &operator=(const BlockPrefetch &) = delete;

    // Starts a block; waits first for the one before, if it was not taken.
    void start(Job job);
    // The block started last, its plain bytes swapped into plain: waited for when the thread
    // is at it, read here when it has not begun. False when the block is damaged (plain's bytes
    // are unspecified then) or none was started.
    bool take(QByteArray &plain);

private:
    enum class State { Idle, Queued, Running, Done };

    void run();
    // Reads the job's block into plain, using frameRead for a frame from the spill file.
    bool read(const Job &job, QByteArray &plain, QByteArray &frameRead) const;

    const BlockCodec &m_codec;
    const SpillFile *m_spill;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Job m_job;
    State m_state = State::Idle;
    bool m_ok = false;
    bool m_quit = false;
    QByteArray m_plain; // the thread's
    QByteArray m_frameRead; // the thread's
    QByteArray m_callerFrameRead; // the caller's, for a job it takes back
    std::thread m_thread;
};
