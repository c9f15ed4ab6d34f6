#pragma once

#include "platform/ClipboardText.h"
#include "view/OriginGutter.h"
#include "view/ViewSelection.h"

#include <QPointer>

class LogScrollView;

// The text of a selected range of a log view, for the clipboard or the primary selection,
// made when a program pastes it: read from the store a piece at a time (about a megabyte of
// text each), line ends turned into the desktop's (LF), and written straight out as UTF-8.
// So memory holds the result and one piece, and the window answers between pieces.
//
// With file names, every line of the range (the first one too, wherever in it the range
// starts) begins with the name of the file it came from, without its folder, and a tab; a
// line of no known file begins with the tab alone.
//
// The text is the range's as it was offered: the view only grows at its end until it is
// cleared, so the range keeps meaning the same text. Once the view is cleared or gone there
// is nothing to make it from (Outcome::Gone).
class SelectionCopy : public ClipboardText
{
public:
    // Units read and written at a time.
    static constexpr qint64 kPieceUnits = qint64(1) << 20;

    SelectionCopy(LogScrollView *view, ViewSelection range, bool withFileNames,
                  OriginNamer namer = {}, qint64 pieceUnits = kPieceUnits);

    Outcome make(QByteArray &utf8, WorkProgress &progress) const override;

private:
    QString prefixOf(LineNo line) const;
    QString prefixOf(LineNo line, quint16 origin) const;
    // The prefix of the line being copied.
    struct Prefixes
    {
        LineNo line;
        quint16 origin;
        QString text;
    };
    // text (LF line ends) with each line's prefix in front of it: the first line's only where
    // the range starts, none after a line end that ends the range.
    QString withPrefixes(QStringView text, bool rangeStart, bool rangeEnd,
                         Prefixes &prefixes) const;
    // UTF-8 bytes of the prefixes of lines first to last.
    qint64 prefixBytes(LineNo first, LineNo last) const;

    QPointer<LogScrollView> m_view;
    quint64 m_generation;
    ViewSelection m_range;
    bool m_withFileNames;
    OriginNamer m_namer;
    qint64 m_pieceUnits;
};
