#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>

// Positions in the log's text and line numbers, kept apart by type so that one is never
// handed where the other is meant. Both are 64-bit: a log followed for weeks passes 2^31
// characters, and nothing in the store or the view narrows them. Only the scroll bars, the
// painter's pixels and the accessibility interface live in int.
//
// An offset counts UTF-16 units from the start of the text, a line break (CR LF) counting two.
// Lines count from 0; line n begins after the n-th LF.
struct StoreOffset
{
    qint64 value = 0;

    constexpr StoreOffset() = default;
    constexpr explicit StoreOffset(qint64 v)
        : value(v)
    {
    }
    auto operator<=>(const StoreOffset &) const = default;
    constexpr StoreOffset operator+(qint64 units) const { return StoreOffset(value + units); }
    constexpr StoreOffset operator-(qint64 units) const { return StoreOffset(value - units); }
    constexpr qint64 operator-(StoreOffset other) const { return value - other.value; }
};

struct LineNo
{
    qint64 value = 0;

    constexpr LineNo() = default;
    constexpr explicit LineNo(qint64 v)
        : value(v)
    {
    }
    auto operator<=>(const LineNo &) const = default;
    constexpr LineNo operator+(qint64 lines) const { return LineNo(value + lines); }
    constexpr LineNo operator-(qint64 lines) const { return LineNo(value - lines); }
    constexpr qint64 operator-(LineNo other) const { return value - other.value; }
};

// What a read brings back. A damaged block (its stored bytes no longer match their check)
// still yields text of its exact length, with its line breaks where the index says they
// are, so every offset after it stays right: the characters it held read as U+FFFD, and the
// status tells the caller that the gap is not the log's own text.
enum class ReadStatus { Intact, Damaged };

struct ReadResult
{
    QString text;
    ReadStatus status = ReadStatus::Intact;
};
