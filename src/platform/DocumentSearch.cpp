#include "platform/DocumentSearch.h"

#include "view/store/TextSearch.h"

#include <QTextBlock>
#include <QTextDocument>

#if __has_include(<private/qtextdocument_p.h>)
#include <private/qtextdocument_p.h>
#define PIVEX_HAS_TEXT_DOCUMENT_PRIVATE 1
#endif

namespace DocumentSearch {

namespace {

// Searches one line, given as the text from its start, beginning at column from.
std::optional<int> searchLine(QStringView line, int lineStart, int fromPosition, QStringView word,
                              Qt::CaseSensitivity sensitivity)
{
    const auto hit
        = TextSearch::findForward(line, word, qMax(0, fromPosition - lineStart), sensitivity);
    return hit ? std::optional<int>(lineStart + int(*hit)) : std::nullopt;
}

#ifdef PIVEX_HAS_TEXT_DOCUMENT_PRIVATE
std::optional<int> walkFragments(const QTextDocument &document, QStringView word, int fromPosition,
                                 Qt::CaseSensitivity sensitivity)
{
    const QTextDocumentPrivate *d = QTextDocumentPrivate::get(&document);
    const QString buffer = d->buffer(); // shared, not copied
    const QTextBlock startBlock = document.findBlock(fromPosition);
    if (!startBlock.isValid())
        return std::nullopt;

    int position = startBlock.position();
    int lineStart = position;
    QStringView single; // the line while it lies in one fragment
    QString joined; // the line once it spans several
    bool spansFragments = false;
    for (auto it = d->find(position); !it.atEnd(); ++it) {
        const QTextFragmentData *fragment = it.value();
        const int size = int(fragment->size_array[0]);
        const QStringView piece(buffer.constData() + fragment->stringPosition, size);
        const bool isSeparator = size == 1
            && (piece.at(0) == QChar::ParagraphSeparator || piece.at(0) == QChar::LineSeparator
                || piece.at(0).unicode() == 0xFDD0 || piece.at(0).unicode() == 0xFDD1);
        if (isSeparator) {
            const QStringView line = spansFragments ? QStringView(joined) : single;
            if (const auto hit = searchLine(line, lineStart, fromPosition, word, sensitivity))
                return hit;
            lineStart = position + 1;
            single = {};
            joined.clear();
            spansFragments = false;
        } else if (single.isNull() && !spansFragments) {
            single = piece;
        } else {
            if (!spansFragments)
                joined = single.toString();
            joined += piece;
            spansFragments = true;
        }
        position += size;
    }
    return std::nullopt;
}
#endif

std::optional<int> walkBlocks(const QTextDocument &document, QStringView word, int fromPosition,
                              Qt::CaseSensitivity sensitivity)
{
    for (QTextBlock block = document.findBlock(fromPosition); block.isValid();
         block = block.next()) {
        if (const auto hit
            = searchLine(block.text(), block.position(), fromPosition, word, sensitivity))
            return hit;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> findForward(const QTextDocument &document, QStringView word, int fromPosition,
                               Qt::CaseSensitivity sensitivity)
{
    if (word.isEmpty() || fromPosition < 0)
        return std::nullopt;
#ifdef PIVEX_HAS_TEXT_DOCUMENT_PRIVATE
    return walkFragments(document, word, fromPosition, sensitivity);
#else
    return walkBlocks(document, word, fromPosition, sensitivity);
#endif
}

} // namespace DocumentSearch
