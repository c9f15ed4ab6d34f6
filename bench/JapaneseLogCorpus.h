#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

// The benchmarks' log: a generated Japanese application log, the same for every seed.
//
// Each line is about 80 characters: a timestamp with milliseconds, a Japanese module name in
// brackets, a level, the process and thread numbers and one of a dozen Japanese message templates
// filled with numbers, IDs and paths, e.g.
//   2026-12-07 09:41:07.123 [受注管理] INFO  4003:7 注文番号 A0012345 を受け付けました 金額=04800円
// Lines end with CR LF. Every character used exists in code page 932 and in EUC-JP, so the
// three encoded forms hold the same text.
class JapaneseLogCorpus
{
public:
    explicit JapaneseLogCorpus(quint32 seed = 932);

    // The next line, without its line end.
    QString nextLine();
    // The next lines joined with CR LF after each, as Unicode text.
    QString nextText(qint64 lines);
    // The next lines in Shift_JIS (code page 932), CR LF after each, until at least bytes
    // bytes have been produced (whole lines only).
    QByteArray nextShiftJis(qint64 bytes);

    // Encodings of corpus text. Characters outside the corpus's repertoire are not expected;
    // they come out as "?".
    static QByteArray toShiftJis(QStringView text);
    static QByteArray toEucJp(QStringView text);
    static QByteArray toUtf8(QStringView text) { return text.toUtf8(); }

private:
    QRandomGenerator m_random;
    qint64 m_line = 0;
};
