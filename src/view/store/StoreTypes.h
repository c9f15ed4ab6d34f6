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
// One 64-bit quantity of a kind set by Tag; kinds do not mix.
template<typename Tag>
struct Counted64
{
    qint64 value = 0;

    constexpr Counted64() = default;
    constexpr explicit Counted64(qint64 v)
        : value(v)
    {
    }
    auto operator<=>(const Counted64 &) const = default;
    constexpr Counted64 operator+(qint64 n) const { return Counted64(value + n); }
    constexpr Counted64 operator-(qint64 n) const { return Counted64(value - n); }
    constexpr qint64 operator-(Counted64 other) const { return value - other.value; }
};

using StoreOffset = Counted64<struct StoreOffsetTag>;
using LineNo = Counted64<struct LineNoTag>;

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
