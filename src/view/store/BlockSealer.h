#pragma once

#include "view/store/BlockCodec.h"
#include "view/store/SpillFile.h"

#include <QByteArray>
#include <QByteArrayView>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Seals the log store's full blocks on a thread of its own, so that the thread that appends
// (the user interface's) never waits for LZ4 or the disk: it hands a block's plain bytes over
// and takes the sealed frame back later, in the order the blocks were handed over.
//
// Sealing a block is compressing it (BlockCodec) and writing the frame to the spill file. A
// frame the file refuses comes back to be kept in memory; each later frame the file takes
// brings one such kept frame along (the newest first), so memory drains once the disk has
// room again. Without a spill file every frame comes back.
//
// Every call but the sealing thread's own comes from the store's thread. The plain bytes of a
// block handed over stay readable there (plainOf) until it is taken back: reading the text of
// a block being sealed needs no waiting. Every call into the spill file, from either thread,
// is made under a lock of the file's own, so a read never meets a write half done, and the
// store's thread waits for the disk only when it reads spilled text, never to append.
//
// The thread starts with the first block; should it fail to start, blocks are sealed as they
// are handed over. clear() and the destructor wait for the block in the sealing thread's hands
// (one block: a millisecond or so) and drop the ones still waiting.
class BlockSealer
{
public:
    // codec and spill (may be null: frames stay in memory) must outlive the sealer.
    BlockSealer(const BlockCodec &codec, SpillFile *spill);
    ~BlockSealer();
    BlockSealer(const BlockSealer &) = delete;
    BlockSealer &operator=(const BlockSealer &) = delete;

    // What sealing a block gave.
    struct Sealed
    {
        qsizetype block = -1;
        QByteArray plain; // the buffer handed over, back for the next open block
        QByteArray frame; // the frame when it stays in memory; empty when spilled
        qint32 frameBytes = 0;
        qint64 spilledAt = -1; // where the frame lies in the spill file; -1: not there
        // A frame kept in memory before that went to the spill file with this one.
        qsizetype movedOutBlock = -1;
        qint64 movedOutAt = -1;
    };

    // Hands over block number `block` (one more than the last handed over): the first bytes
    // of plain, whose buffer it takes (plain is left empty) and gives back with the result.
    // Should memory run out on the way, it throws std::bad_alloc with plain left alone.
    void seal(qsizetype block, QByteArray &plain, qsizetype bytes);
    // The oldest block handed over and not taken yet, once it is sealed; with wait, waits for
    // it to be. nullopt when there is none, or (without wait) it is not sealed yet.
    std::optional<Sealed> takeSealed(bool wait);
    // Blocks handed over and not taken back.
    qsizetype pending() const { return qsizetype(m_jobs.size()); }
    // The plain bytes of block, which must be handed over and not taken back.
    QByteArrayView plainOf(qsizetype block) const;

    // Waits until every block handed over is sealed (they stay to be taken).
    void waitUntilSealed() const;
    // Bytes held in memory for the blocks handed over and not taken back, and the buffer the
    // frames are made in.
    qint64 heldBytes() const;
    // Drops every block handed over, empties the spill file and frees the buffers.
    void clear();

    // The spill file, under the lock the sealing thread writes it under.
    bool readSpilled(qint64 offset, QByteArray &buffer) const;
    qint64 spilledBytes() const;

private:
    struct Job
    {
        qsizetype block = -1;
        QByteArray plain;
        qsizetype bytes = 0;
        bool sealed = false;
        Sealed result;
    };

    void run();
    // Seals m_jobs[m_next]; called with the lock held, which it lets go while compressing.
    void sealNext(std::unique_lock<std::mutex> &lock);
    // Drops the jobs no thread has begun.
    void dropWaiting();

    const BlockCodec &m_codec;
    SpillFile *const m_spill;

    mutable std::mutex m_mutex; // the jobs
    // The spill file and m_kept. Taken alone or while m_mutex is held, never the other way.
    mutable std::mutex m_fileMutex;
    mutable std::condition_variable m_changed;
    // In the order handed over. The store's thread alone adds and removes jobs; the sealing
    // thread reads a job's plain bytes and fills its result.
    std::deque<Job> m_jobs;
    qsizetype m_next = 0; // the first job not begun
    bool m_busy = false; // a job is in the sealing thread's hands
    bool m_stop = false;
    bool m_inline = false; // no thread could be had
    QByteArray m_frame; // the sealing thread's buffer
    // Frames the spill file refused, with their blocks, to be moved out later.
    std::vector<std::pair<qsizetype, QByteArray>> m_kept;
    std::thread m_thread;
};
