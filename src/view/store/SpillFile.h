#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// Where the log store puts the frames of its sealed blocks so that they leave memory: bytes
// appended one after another and read back by offset and size. The store keeps every offset
// and size itself; the file holds nothing else and is never read through from its start.
//
// Every call may fail; a failure never leaves a half-taken append behind. An append either
// stores all of its bytes and says where, or says nothing, and the store then keeps that frame
// in memory: bytes a failed append wrote are never handed out again, later appends may write
// over them. A read fills exactly the buffer or fails; the store checks what it reads anyway,
// so a file gone bad reads as a damaged block, never as other text.
//
// The calls are virtual so that tests can put a failing or an in-memory file behind the store.
class SpillFile
{
public:
    virtual ~SpillFile() = default;

    // Stores bytes after everything stored before; where they begin, or nothing when they
    // could not all be written.
    virtual std::optional<qint64> append(QByteArrayView bytes) = 0;
    // Fills buffer, which the caller has sized, with the bytes stored at offset. False when
    // they cannot all be read; buffer's bytes are unspecified then.
    virtual bool read(qint64 offset, QByteArray &buffer) const = 0;
    // Forgets everything stored and gives its space back; the next append begins at 0.
    virtual void clear() = 0;
    // Bytes stored so far.
    virtual qint64 size() const = 0;
};
