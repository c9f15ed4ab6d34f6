#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

class ClipboardText;

// The scrolling log view as the engine and the commands see it. Positions are character
// offsets (UTF-16 units) into the view's plain text, 64-bit: a log may pass 2^31 characters.
//
// A line break is always CR LF and counts as two characters: text(), selectedText(),
// textLength() and every position agree on that, so an offset found by searching text() can
// be handed to select() as it is. Any line end given to setText() or insertAtCaret() (CR LF,
// lone CR, lone LF) becomes one such CR LF. An offset that falls between the CR and the LF
// of a break means the position before the CR; offsets past the end mean the end.
class LogView
{
public:
    virtual ~LogView() = default;

    virtual qsizetype textLength() const = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;

    // The caret is the selection's start; setting it leaves an empty selection there.
    virtual qsizetype caret() const = 0;
    virtual void setCaret(qsizetype position) = 0;
    virtual qsizetype selectionStart() const = 0;
    virtual qsizetype selectionLength() const = 0;
    virtual void select(qsizetype start, qsizetype length) = 0;
    virtual QString selectedText() const = 0;
    // The selection's text for the clipboard, made only when it is pasted (ClipboardText);
    // with file names, each line begins with its file's name and a tab. Null when the view
    // cannot offer one.
    virtual std::shared_ptr<const ClipboardText> selectionForCopy(bool withFileNames) const = 0;
    // The offset of the first occurrence of word that begins at offset from or later, or
    // nullopt; never wraps. Case-insensitive matching folds case unit by unit, as
    // TextSearch::findForward does. The view searches its own storage, since copying a long
    // log's whole text for every search step would cost more than the search.
    virtual std::optional<qsizetype> find(QStringView word, qsizetype from,
                                          Qt::CaseSensitivity sensitivity) const = 0;
    // The same backwards: the offset of the last occurrence that ends at or before offset
    // end, so that it never overlaps a selection that begins there; never wraps.
    virtual std::optional<qsizetype> findBackward(QStringView word, qsizetype end,
                                                  Qt::CaseSensitivity sensitivity) const = 0;
    // The word the user is looking for: its matches in sight are shown as such, and those in
    // the whole text are counted in later turns of the event loop, each turn reporting the
    // count so far and whether it is complete, and again as appended text adds matches. An
    // empty word ends that. The report must stay callable until the next call.
    using MatchCountReport = std::function<void(qint64 count, bool complete)>;
    virtual void showMatches(const QString &word, Qt::CaseSensitivity sensitivity,
                             MatchCountReport report)
        = 0;

    // Inserts plain text (nothing is interpreted as markup) in the current text colour at the
    // caret, which the program always moves to the end first: the view only grows at its end,
    // so text goes there wherever the caret was, dropping any selection. Afterwards the caret
    // stands after the text and is scrolled into view.
    //
    // origin tells where the text came from (0: nowhere in particular); each line keeps the
    // origin of the text that began it, so a line continued later keeps its first origin.
    virtual void insertAtCaret(const QString &text, quint16 origin = 0) = 0;
    // The same for text already in the log store's byte form (view/store/UnitCoding.h) with
    // CR LF as every line end, as the reader decodes it: the bytes join the store as they are.
    virtual void insertEncodedAtCaret(QByteArrayView storeBytes, quint16 origin) = 0;
    // Adds such text at the end like insertEncodedAtCaret, but leaves the caret, the selection
    // and the scroll position where they are: for a user reading back while the log goes on.
    virtual void appendEncodedKeepingPlace(QByteArrayView storeBytes, quint16 origin) = 0;

    virtual void setBackgroundColor(const QColor &color) = 0;
    // Colours the selection, or the next inserted text when nothing is selected.
    virtual void setSelectionTextColor(const QColor &color) = 0;

    virtual QFont font() const = 0;
    virtual void setFont(const QFont &font) = 0;
    virtual void setFocus() = 0;
};
