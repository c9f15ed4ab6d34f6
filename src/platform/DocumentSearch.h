#pragma once

#include <QStringView>

#include <optional>

class QTextDocument;

// Forward search through a text document without copying it.
//
// A log of a million lines holds a hundred million characters; building its plain text for
// every "find next" costs seconds, and so does walking it block by block through the public
// API. This walks the document's own fragments instead, searching each line where it is
// stored and copying only a line that is split over several fragments (a line that arrived
// in two reads, or in two colours). Where the toolkit's internals are not available it falls
// back to the public block walk: slower, same answers.
//
// Edge cases: a word never matches across a line break; an empty word finds nothing.
namespace DocumentSearch {

// The document position of the first match that begins at fromPosition or later.
std::optional<int> findForward(const QTextDocument &document, QStringView word, int fromPosition,
                               Qt::CaseSensitivity sensitivity);

} // namespace DocumentSearch
