#include "view/LogScrollView.h"

#include "view/CaretKeys.h"
#include "view/ColourRuns.h"
#include "view/LineStyler.h"
#include "view/LogViewAccessible.h"
#include "view/OverviewStrip.h"
#include "view/PrimarySelection.h"
#include "view/ViewNavigation.h"
#include "view/ViewPainter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>

#include <cmath>
#include <limits>

namespace {

constexpr int kBarLines = std::numeric_limits<int>::max() / 2;

} // namespace

LogScrollView::LogScrollView(const TextSource &source, const ColourRuns &colours, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_source(source)
    , m_colours(colours)
    , m_layout(source)
{
    LogViewAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("ログ"));
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    m_layout.setFont(font());
    m_layout.setViewportSize(viewport()->size());

    m_menu = new QMenu(this);
    QAction *copy
        = m_menu->addAction(QStringLiteral("コピー(&C)"), this, &LogScrollView::copyRequested);
    copy->setShortcut(QKeySequence::Copy);
    QAction *copyWithNames = m_menu->addAction(QStringLiteral("ファイル名付きでコピー"), this,
                                               &LogScrollView::copyWithFileNamesRequested);
    QAction *all = m_menu->addAction(QStringLiteral("すべて選択(&A)"), this, [this] {
        m_selection = {StoreOffset(0), StoreOffset(m_source.size())};
        selectionMoved(true);
    });
    all->setShortcut(QKeySequence::SelectAll);
    connect(m_menu, &QMenu::aboutToShow, this, [this, copy, copyWithNames] {
        copy->setEnabled(!m_selection.isEmpty());
        copyWithNames->setEnabled(!m_selection.isEmpty());
    });
    m_gutter = new OriginGutter(source, m_layout, this);
    m_gutter->hide();
    updateScrollBars();
}

LogScrollView::~LogScrollView()
{
    PrimarySelection::withdraw(this);
}

void LogScrollView::setSelection(ViewSelection selection)
{
    m_selection = selection;
    m_wantedX = -1;
    selectionMoved(false);
}

void LogScrollView::appended()
{
    m_selection = {StoreOffset(m_source.size()), StoreOffset(m_source.size())};
    m_wantedX = -1;
    LogViewAccessible::textChanged(this, false);
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT contentsChanged();
}

void LogScrollView::grewBelow()
{
    LogViewAccessible::textChanged(this, false);
    updateScrollBars();
    viewport()->update();
    Q_EMIT contentsChanged();
}

void LogScrollView::coloursChanged()
{
    ++m_styleVersion;
    m_lineImages.clear();
    viewport()->update();
}

void LogScrollView::showHighlights(const LineStyler &styler, const OverviewMarks &marks)
{
    m_styler = &styler;
    m_overview = new OverviewStrip(marks, styler, m_source, m_layout, this);
    connect(m_overview, &OverviewStrip::goTo, this, &LogScrollView::showLine);
    highlightsChanged();
}

void LogScrollView::highlightsChanged()
{
    coloursChanged();
    placeMargins();
    marksChanged();
}

void LogScrollView::marksChanged()
{
    if (m_overview && m_overview->isVisible())
        m_overview->update();
}

void LogScrollView::placeMargins()
{
    // The gutter at the left only while it has files to tell apart, the strip at the right only
    // while there is something to mark: a view of one file without rules looks as it always did.
    const int left = isGutterShown() ? m_gutter->preferredWidth() : 0;
    const int right
        = m_overview && m_styler && !m_styler->isIdle() ? m_overview->preferredWidth() : 0;
    const QMargins margins(left, 0, right, 0);
    if (viewportMargins() != margins)
        setViewportMargins(margins);
    const QRect port = viewport()->geometry();
    m_gutter->setGeometry(port.left() - left, port.top(), left, port.height());
    if (m_overview) {
        m_overview->setGeometry(port.right() + 1, port.top(), right, port.height());
        m_overview->setVisible(right > 0);
    }
}

void LogScrollView::showLine(LineNo line, bool selectFindMatch)
{
    setTopLine(line - m_layout.fullLines() / 2);
    const StoreOffset start = m_source.lineStart(line);
    m_selection = {start, start};
    if (selectFindMatch && m_styler) {
        if (const auto match = m_styler->findMatch(m_source, line))
            m_selection = {match->first, match->second};
    }
    setFocus(Qt::OtherFocusReason);
    m_wantedX = -1;
    selectionMoved(true);
}

QRect LogScrollView::selectionOnScreen() const
{
    const QRect rect = m_layout.selectionRect(m_selection).intersected(viewport()->rect());
    return rect.isEmpty() ? QRect() : QRect(viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

void LogScrollView::replaced()
{
    ++m_generation;
    m_lineImages.clear();
    m_selection = {};
    m_wantedX = -1;
    m_widest = 0;
    m_layout.forgetLines();
    m_layout.setTopLine(LineNo(0));
    m_layout.setLeft(0);
    PrimarySelection::withdraw(this);
    LogViewAccessible::textChanged(this, true);
    updateScrollBars();
    viewport()->update();
    Q_EMIT contentsChanged();
}

void LogScrollView::ensureCaretVisible()
{
    const LineNo line = m_source.lineOf(m_selection.caret);
    const LineNo top = m_layout.topLine();
    if (line < top)
        setTopLine(line);
    else if (line - top >= m_layout.fullLines())
        setTopLine(line - (m_layout.fullLines() - 1));
    const qreal x = m_layout.xOf(m_selection.caret);
    const int width = viewport()->width();
    const qreal margin = std::min<qreal>(width / 4.0, 4 * m_layout.metrics().tabWidth() / 8);
    if (x < m_layout.left())
        setLeft(x - margin);
    else if (x >= m_layout.left() + width - 1)
        setLeft(x - width + 1 + margin);
    updateScrollBars();
}

int LogScrollView::barValueForLine(LineNo line) const
{
    const qint64 last = m_layout.lastTopLine().value;
    if (last <= kBarLines)
        return int(line.value);
    return int(std::llround(double(line.value) * kBarLines / double(last)));
}

LineNo LogScrollView::lineForBarValue(int value) const
{
    const qint64 last = m_layout.lastTopLine().value;
    if (last <= kBarLines)
        return LineNo(value);
    return LineNo(std::llround(double(value) * double(last) / kBarLines));
}

void LogScrollView::setTopLine(LineNo line)
{
    m_layout.setTopLine(line);
    viewport()->update();
    m_gutter->update();
}

void LogScrollView::setGutterShown(bool shown)
{
    if (shown == isGutterShown())
        return;
    m_gutter->setVisible(shown);
    placeMargins();
}

void LogScrollView::setLeft(qreal x)
{
    m_layout.setLeft(std::floor(x));
    viewport()->update();
}

void LogScrollView::updateScrollBars()
{
    // The widest of the lines in sight joins those measured before: like a text editor, the
    // horizontal range covers what has been shown, not lines that were never looked at.
    const qint64 lines = m_source.lineCount();
    for (qint64 row = 0; row < m_layout.shownLines(); ++row) {
        const LineNo line = m_layout.topLine() + row;
        if (line.value >= lines)
            break;
        m_widest = std::max(m_widest, m_layout.lineWidth(line));
    }
    m_settingBars = true;
    const qint64 last = m_layout.lastTopLine().value;
    verticalScrollBar()->setRange(0, int(std::min<qint64>(last, kBarLines)));
    verticalScrollBar()->setPageStep(
        int(std::min<qint64>(m_layout.fullLines(), last <= kBarLines ? kBarLines : 1)));
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setValue(barValueForLine(m_layout.topLine()));
    const int width = viewport()->width();
    // The caret at the end of the widest line needs a pixel past it; a view scrolled to the
    // right keeps its place while the lines in sight are narrower.
    const qreal right = std::max(m_widest + 1, m_layout.left() + width);
    horizontalScrollBar()->setRange(
        0, int(std::min<qreal>(std::max<qreal>(0, std::ceil(right) - width), kBarLines)));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(std::max(1, int(m_layout.metrics().tabWidth() / 8)));
    horizontalScrollBar()->setValue(int(std::min<qreal>(m_layout.left(), kBarLines)));
    m_settingBars = false;
    m_gutter->update();
    marksChanged(); // the band of lines in sight moves
}

void LogScrollView::scrollContentsBy(int, int)
{
    if (m_settingBars)
        return;
    m_layout.setTopLine(lineForBarValue(verticalScrollBar()->value()));
    m_layout.setLeft(horizontalScrollBar()->value());
    updateScrollBars();
    viewport()->update();
}

void LogScrollView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    placeMargins();
    m_layout.setViewportSize(viewport()->size());
    m_layout.setTopLine(m_layout.topLine());
    updateScrollBars();
}

void LogScrollView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        coloursChanged();
    if (event->type() == QEvent::FontChange) {
        placeMargins();
        coloursChanged();
        m_layout.setFont(font());
        m_widest = 0;
        updateScrollBars();
        viewport()->update();
    }
}

void LogScrollView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const ViewPainter::Look look {palette(), m_colours, m_styler, m_selection,
                                  hasFocus() && m_caretOn && m_selection.isEmpty(),
                                  // An inactive window may show its selection in other colours.
                                  m_styleVersion * 4 + quint64(palette().currentColorGroup()),
                                  viewport()->devicePixelRatioF()};
    ViewPainter::paint(painter, m_layout, m_source, look, event->rect(), m_lineImages);
}

void LogScrollView::selectionMoved(bool byUser)
{
    if (byUser)
        PrimarySelection::offer(this, m_selection);
    ensureCaretVisible();
    restartBlink();
    LogViewAccessible::selectionChanged(this);
    viewport()->update();
}

void LogScrollView::moveCaret(StoreOffset to, bool extend)
{
    m_selection.caret = to;
    if (!extend)
        m_selection.anchor = to;
    selectionMoved(true);
}

bool LogScrollView::handleNavigationKey(QKeyEvent *event)
{
    const std::optional<CaretKeys::Move> move
        = CaretKeys::moveFor(*event, m_layout, m_source, m_selection, m_wantedX);
    if (!move)
        return false;
    if (move->scrollLines != 0)
        setTopLine(m_layout.topLine() + move->scrollLines);
    moveCaret(move->to, move->extend);
    m_wantedX = move->wantedX;
    return true;
}

void LogScrollView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        Q_EMIT copyRequested();
    } else if (event->matches(QKeySequence::SelectAll)) {
        m_selection = {StoreOffset(0), StoreOffset(m_source.size())};
        selectionMoved(true);
    } else if (!handleNavigationKey(event)) {
        // Read only: typing, Enter and Delete change nothing here; the window may want them.
        event->ignore();
        return;
    }
    event->accept();
}

void LogScrollView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void LogScrollView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blinkTimer.stop();
    viewport()->update();
}

void LogScrollView::restartBlink()
{
    m_caretOn = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blinkTimer.start(flash / 2, this);
    else
        m_blinkTimer.stop();
}

void LogScrollView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blinkTimer.timerId()) {
        m_caretOn = !m_caretOn;
        viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
    } else if (event->timerId() == m_dragTimer.timerId()) {
        dragTo(m_dragPoint);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}
