#pragma once

#include "platform/CacheSpillFile.h"
#include "platform/LogView.h"
#include "view/ColourRuns.h"
#include "view/LineStyler.h"
#include "view/store/LogStore.h"

#include <QPointer>

class LogScrollView;
class OverviewScanner;
class QWidget;
class QtTaskQueue;

// The log view as the engine and the commands use it (LogView), over a LogStore of its own:
// the store keeps the text, ColourRuns its colours, and the widget (LogScrollView) shows them
// and holds the selection. Offsets are 64-bit and CR LF counts two, as LogView says; nothing
// here limits the log to 2^31 characters.
//
// The text only grows at its end. insertAtCaret() and insertEncodedAtCaret() (the reader's
// bytes, already in the store's form) append there wherever the caret was (the program always
// moves it there first), leaving the caret after the new text and bringing it into sight. setText()
// empties the store, giving its memory back, then appends.
//
// Text colour: with nothing selected, setSelectionTextColor() sets the colour of every text
// inserted from then on, wherever the caret is moved in between; with a selection, it
// recolours just that. text() copies the whole log: it is for tests and small views.
//
// Highlight rules and the find word colour lines as they are painted and are marked on the
// overview strip beside the scroll bar; the marks and the count of matches follow the text as
// it is appended, worked out in later turns of the event loop (OverviewScanner).
//
// The store's sealed blocks go to the spill file given, by default a nameless file in the
// user's cache folder (CacheSpillFile), so a log followed for weeks does not grow in memory;
// a null one keeps them in memory.
//
// The widget is created with the given parent and deleted with this object if it still exists;
// the main window puts widget() into its layout. Once the widget is gone, the selection reads
// as an empty one at 0.
class StoreLogView : public LogView
{
public:
    explicit StoreLogView(QWidget *parent = nullptr,
                          qsizetype blockBytes = LogStore::kDefaultBlockBytes,
                          std::unique_ptr<SpillFile> spill = std::make_unique<CacheSpillFile>());
    ~StoreLogView() override;
    StoreLogView(const StoreLogView &) = delete;
    StoreLogView &operator=(const StoreLogView &) = delete;

    LogScrollView *widget() const;
    const LogStore &store() const { return m_store; }
    qint64 lineCount() const { return m_store.lineCount(); }
    // The colour the character at offset is drawn in, outside a selection.
    QColor textColorAt(qsizetype offset) const;

    qsizetype textLength() const override;
    QString text() const override;
    void setText(const QString &text) override;

    qsizetype caret() const override;
    void setCaret(qsizetype position) override;
    qsizetype selectionStart() const override;
    qsizetype selectionLength() const override;
    void select(qsizetype start, qsizetype length) override;
    QString selectedText() const override;
    std::shared_ptr<const ClipboardText> selectionForCopy(bool withFileNames) const override;
    std::optional<qsizetype> find(QStringView word, qsizetype from,
                                  Qt::CaseSensitivity sensitivity) const override;
    std::optional<qsizetype> findBackward(QStringView word, qsizetype end,
                                          Qt::CaseSensitivity sensitivity) const override;
    void showMatches(const QString &word, Qt::CaseSensitivity sensitivity,
                     MatchCountReport report) override;

    // Colours from now on what the rules match, the text already shown included.
    void setHighlightRules(const HighlightRules &rules);
    const HighlightRules &highlightRules() const { return m_styler.rules(); }
    OverviewScanner &overview() { return *m_scanner; }

    void insertAtCaret(const QString &text, quint16 origin = 0) override;
    void insertEncodedAtCaret(QByteArrayView storeBytes, quint16 origin) override;
    void appendEncodedKeepingPlace(QByteArrayView storeBytes, quint16 origin) override;

    void setBackgroundColor(const QColor &color) override;
    void setSelectionTextColor(const QColor &color) override;

    QFont font() const override;
    void setFont(const QFont &font) override;
    void setFocus() override;

private:
    void append(const QString &text, quint16 origin);
    void appendEncoded(QByteArrayView storeBytes, quint16 origin);

    LogStore m_store;
    ColourRuns m_colours;
    LineStyler m_styler;
    std::unique_ptr<QtTaskQueue> m_turns;
    std::unique_ptr<OverviewScanner> m_scanner;
    QColor m_insertColour; // invalid: the widget's own text colour
    QPointer<LogScrollView> m_widget;
};
