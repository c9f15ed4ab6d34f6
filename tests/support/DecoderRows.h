#pragma once

#include "platform/TextDecoder.h"

#include <QTest>

// A data-driven test of a decoder's edge cases: the bytes, the text they give with
// Tail::KeepIncomplete, and how many of them that takes.
namespace DecoderRows {

inline void addColumns()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("consumed");
}

// consumed -1: all of the bytes.
inline void add(const char *name, const QByteArray &bytes, const char16_t *text,
                qsizetype consumed = -1)
{
    QTest::newRow(name) << bytes << QString::fromUtf16(text)
                        << (consumed < 0 ? bytes.size() : consumed);
}

// Checks the current row; decoding everything also shows what was cut off, as damage.
inline void check(const TextDecoder &decoder)
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(qsizetype, consumed);
    const DecodedText kept = decoder.decode(bytes, TextDecoder::Tail::KeepIncomplete);
    QCOMPARE(kept.text, text);
    QCOMPARE(kept.consumed, consumed);
    const DecodedText all = decoder.decode(bytes, TextDecoder::Tail::DecodeAll);
    QCOMPARE(all.consumed, bytes.size());
    QVERIFY(all.text.startsWith(text));
    QCOMPARE(all.text == text, consumed == bytes.size());
}

} // namespace DecoderRows
