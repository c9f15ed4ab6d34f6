#pragma once

#include "view/store/BlockCodec.h"

#include <condition_variable>
#include <mutex>

// Lets blocks be compressed only once the test opens it, so a block can be caught while it is
// being sealed; it counts the blocks that came to it, and outlives the store.
class Gate
{
public:
    void pass()
    {
        std::unique_lock lock(m_mutex);
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    void waitUntilEntered()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered > 0; });
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    int entered() const
    {
        const std::lock_guard lock(m_mutex);
        return m_entered;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_entered = 0;
    bool m_open = false;
};

class GateCodec : public BlockCodec
{
public:
    explicit GateCodec(Gate &gate)
        : m_gate(gate)
    {
    }
    void compress(QByteArrayView plain, QByteArray &frame) const override
    {
        m_gate.pass();
        BlockCodec::compress(plain, frame);
    }

private:
    Gate &m_gate;
};
