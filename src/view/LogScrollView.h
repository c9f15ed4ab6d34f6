#pragma once

#include "view/OriginGutter.h"
#include "view/ViewLayout.h"
#include "view/ViewPainter.h"
#include "view/ViewSelection.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPoint>

class ColourRuns;
class LineStyler;
class OverviewMarks;
class OverviewStrip;
class QMenu;

// The log view's widget: a scroll area that paints only the lines in sight, over a text source
// it does not own (the store, held by StoreLogView) and the colours of its text. It holds the
// selection and the scroll position, and everything a user does in a read-only text view:
// click, drag (scrolling at the edges), double- and triple-click, Shift+click, the arrows,
// Home/End, PageUp/PageDown, Ctrl+Home/End, Ctrl+A, Ctrl+C, wheel, both scroll bars, a
// Japanese context menu (コピー, すべて選択), the X11 primary selection, a blinking caret.
//
// Copying is not done here: Ctrl+C and コピー emit copyRequested(), and ファイル名付きでコピー
// copyWithFileNamesRequested(), which the main window hands to its copy commands, so every
// copy goes one way.
//
// Where lines came from shows in a gutter at the left (OriginGutter), when the program turns
// it on: it is the viewport's left margin, so the text's pixels and positions do not move. The
// primary selection is offered lazily: its text is made only when another program asks for it.
//
// The vertical scroll bar counts lines while they fit an int and scales beyond; the top line
// itself is 64-bit and read from the bar only through lineForBarValue().
//
// With highlighting (showHighlights), lines are coloured by the rules and the find word, and
// an overview strip stands in the right margin beside the scroll bar while there is anything
// to mark; a click on it goes to the line it names.
class LogScrollView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    LogScrollView(const TextSource &source, const ColourRuns &colours, QWidget *parent = nullptr);
    ~LogScrollView() override;

    const TextSource &source() const { return m_source; }
    // Changes whenever the text is replaced (cleared), never when it grows.
    quint64 generation() const { return m_generation; }
    // The namer of setOriginNamer.
    const OriginNamer &originNamer() const { return m_gutter->namer(); }
    const ViewLayout &viewLayout() const { return m_layout; }
    ViewSelection selection() const { return m_selection; }
    // A selection set by the program: brought into sight, no primary selection.
    void setSelection(ViewSelection selection);
    // The text grew at its end: the caret goes there, dropping the selection, into sight.
    void appended();
    // The text grew at its end while the user reads elsewhere: caret, selection and scroll
    // position stay; only the scroll bars learn of the new lines.
    void grewBelow();
    // The text was replaced: caret at 0, scrolled to the top and left.
    void replaced();
    // The caret's rectangle in viewport coordinates.
    QRect caretRect() const { return m_layout.caretRect(m_selection.caret); }
    void ensureCaretVisible();
    // The colours of text already shown changed.
    void coloursChanged();
    // Colours lines by the styler's rules and find word, and shows the marks beside the scroll
    // bar; both must outlive the view. highlightsChanged() after either changed, marksChanged()
    // after the marks did.
    void showHighlights(const LineStyler &styler, const OverviewMarks &marks);
    void highlightsChanged();
    void marksChanged();
    // Brings a line to the middle of the view, the caret at its start or, for a line with a
    // match of the find word, its first match selected.
    void showLine(LineNo line, bool selectFindMatch);
    // The selection's first line, in global coordinates, clipped to the viewport.
    QRect selectionOnScreen() const;

    // The gutter that marks each line with its file, and how it names an origin.
    void setGutterShown(bool shown);
    bool isGutterShown() const { return m_gutter->isVisibleTo(this); }
    void setOriginNamer(OriginNamer namer) { m_gutter->setNamer(std::move(namer)); }
    OriginGutter *gutter() const { return m_gutter; }

Q_SIGNALS:
    void copyRequested();
    void copyWithFileNamesRequested();
    // After every change of the text: an append or a clear.
    void contentsChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // How often a drag outside the viewport scrolls it on.
    static constexpr int kDragTickMs = 50;

    // The user moved the caret (with the anchor, unless extending).
    void moveCaret(StoreOffset to, bool extend);
    void selectionMoved(bool byUser);
    void updateScrollBars();
    int barValueForLine(LineNo line) const;
    LineNo lineForBarValue(int value) const;
    void setTopLine(LineNo line);
    void setLeft(qreal x);
    void dragTo(QPoint point);
    void restartBlink();
    bool handleNavigationKey(QKeyEvent *event);
    // What stands in the viewport's margins (the overview strip at the right), and where.
    void placeMargins();

    const TextSource &m_source;
    const ColourRuns &m_colours;
    ViewLayout m_layout;
    ViewSelection m_selection;
    qreal m_widest = 0; // of the lines measured since the last clear
    qreal m_wantedX = -1; // where Up and Down aim, kept across short lines
    bool m_settingBars = false;
    bool m_dragging = false;
    QPoint m_dragPoint;
    QBasicTimer m_dragTimer;
    QBasicTimer m_blinkTimer;
    bool m_caretOn = true;
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickPoint;
    QMenu *m_menu = nullptr;
    OriginGutter *m_gutter = nullptr;
    ViewPainter::LineImages m_lineImages;
    const LineStyler *m_styler = nullptr;
    OverviewStrip *m_overview = nullptr;
    quint64 m_styleVersion = 0;
    quint64 m_generation = 0;
};
