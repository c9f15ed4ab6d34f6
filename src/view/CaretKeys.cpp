#include "view/CaretKeys.h"

#include "view/ViewNavigation.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace CaretKeys {

namespace {

enum class Target {
    NextChar,
    PreviousChar,
    NextWord,
    PreviousWord,
    NextLine,
    PreviousLine,
    NextPage,
    PreviousPage,
    LineStart,
    LineEnd,
    TextStart,
    TextEnd
};

struct Binding
{
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Target target;
};

const Binding kBindings[] = {
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Target::NextChar},
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Target::PreviousChar},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Target::NextWord},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Target::PreviousWord},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Target::NextLine},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Target::PreviousLine},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Target::NextPage},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Target::PreviousPage},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Target::LineStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Target::LineEnd},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Target::TextStart},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Target::TextEnd},
};

} // namespace

std::optional<Move> moveFor(const QKeyEvent &event, const ViewLayout &layout,
                            const TextSource &source, ViewSelection selection, qreal wantedX)
{
    for (const Binding &binding : kBindings) {
        const bool extend = event.matches(binding.select);
        if (!extend && !event.matches(binding.move))
            continue;
        const StoreOffset caret = selection.caret;
        const LineNo line = source.lineOf(caret);
        const qint64 page = std::max<qint64>(1, layout.fullLines() - 1);
        Move move {caret, extend, -1, 0};
        // Vertical moves aim at one x however many short lines they cross.
        const auto toLine = [&](qint64 lines) {
            move.wantedX = wantedX >= 0 ? wantedX : layout.xOf(caret);
            const LineNo target
                = std::clamp(line + lines, LineNo(0), LineNo(source.lineCount() - 1));
            move.to = layout.offsetAtX(target, move.wantedX);
        };
        switch (binding.target) {
        case Target::NextChar:
            move.to = !extend && !selection.isEmpty() ? selection.end()
                                                      : ViewNavigation::nextPosition(source, caret);
            break;
        case Target::PreviousChar:
            move.to = !extend && !selection.isEmpty()
                ? selection.start()
                : ViewNavigation::previousPosition(source, caret);
            break;
        case Target::NextWord:
            move.to = ViewNavigation::nextWord(source, caret);
            break;
        case Target::PreviousWord:
            move.to = ViewNavigation::previousWord(source, caret);
            break;
        case Target::NextLine:
            toLine(1);
            break;
        case Target::PreviousLine:
            toLine(-1);
            break;
        case Target::NextPage:
            toLine(page);
            move.scrollLines = page;
            break;
        case Target::PreviousPage:
            toLine(-page);
            move.scrollLines = -page;
            break;
        case Target::LineStart:
            move.to = source.lineStart(line);
            break;
        case Target::LineEnd:
            move.to = source.lineEnd(line);
            break;
        case Target::TextStart:
            move.to = StoreOffset(0);
            break;
        case Target::TextEnd:
            move.to = StoreOffset(source.size());
            break;
        }
        return move;
    }
    return std::nullopt;
}

} // namespace CaretKeys
