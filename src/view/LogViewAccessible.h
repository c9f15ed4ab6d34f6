#pragma once

#include "platform/VisibleOnlyAccessible.h"

class LogScrollView;

// What screen readers see of the log view: a read-only, multi-line text with a caret and a
// selection (QAccessibleTextInterface), as a text edit would offer. Its children are the parts
// shown: the gutter only while it is.
//
// The interface's offsets are int, the log's are not: it exposes a window of the text, the
// lines in sight and kMarginLines lines either side (at most kMaxWindow units), and every
// offset it takes or gives counts from the window's start. The window moves with scrolling;
// a caret or selection outside it is reported clamped to its edges.
class LogViewAccessible : public VisibleOnlyAccessible, public QAccessibleTextInterface
{
public:
    static constexpr qint64 kMarginLines = 50;
    static constexpr qint64 kMaxWindow = 1 << 20;

    explicit LogViewAccessible(LogScrollView *view);

    // Makes Qt create this interface for every LogScrollView; once per process.
    static void install();
    // Events for assistive tools, sent only while one is listening.
    static void selectionChanged(LogScrollView *view);
    static void textChanged(LogScrollView *view, bool cleared);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    struct TextWindow
    {
        qint64 start;
        qint64 end;
    };
    TextWindow textWindow() const;
    int local(qint64 offset) const; // clamped into the window
    LogScrollView *view() const;
};
