#include "view/LogScrollView.h"

#include "platform/DesktopLineEnds.h"
#include "view/ColourRuns.h"
#include "view/LogViewAccessible.h"
#include "view/ViewNavigation.h"
#include "view/ViewPainter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleHints>

#include <cmath>
#include <limits>

namespace {

constexpr int kBarLines = std::numeric_limits<int>::max() / 2;
constexpr int kDragTickMs = 50;
const QString kPlainText = QStringLiteral("text/plain");

// The X11 primary selection, made into text only when a program pastes it.
class PrimarySelection : public QMimeData
{
public:
    PrimarySelection(LogScrollView *view, ViewSelection range)
        : m_view(view)
        , m_range(range)
    {
    }
    const QObject *view() const { return m_view; }
    bool hasFormat(const QString &type) const override { return type == kPlainText; }
    QStringList formats() const override { return {kPlainText}; }

protected:
    QVariant retrieveData(const QString &type, QMetaType) const override
    {
        if (type != kPlainText || !m_view)
            return {};
        return toDesktopLineEnds(m_view->source().read(m_range.start(), m_range.length()).text);
    }

private:
    QPointer<LogScrollView> m_view;
    ViewSelection m_range;
};

bool ownsPrimarySelection(const QObject *view)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->supportsSelection())
        return false;
    const auto *offer
        = dynamic_cast<const PrimarySelection *>(clipboard->mimeData(QClipboard::Selection));
    return offer && offer->view() == view;
}

} // namespace

LogScrollView::LogScrollView(const TextSource &source, const ColourRuns &colours, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_source(source)
    , m_colours(colours)
    , m_layout(source)
{
    LogViewAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    m_layout.setFont(font());
    m_layout.setViewportSize(viewport()->size());

    m_menu = new QMenu(this);
    QAction *copy
        = m_menu->addAction(QStringLiteral("コピー(&C)"), this, &LogScrollView::copyRequested);
    copy->setShortcut(QKeySequence::Copy);
    QAction *all = m_menu->addAction(QStringLiteral("すべて選択(&A)"), this, [this] {
        m_selection = {StoreOffset(0), StoreOffset(m_source.size())};
        selectionMoved(true);
    });
    all->setShortcut(QKeySequence::SelectAll);
    connect(m_menu, &QMenu::aboutToShow, this,
            [this, copy] { copy->setEnabled(!m_selection.isEmpty()); });
    updateScrollBars();
}

LogScrollView::~LogScrollView()
{
    if (ownsPrimarySelection(this))
        QGuiApplication::clipboard()->clear(QClipboard::Selection);
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

void LogScrollView::coloursChanged()
{
    ++m_styleVersion;
    m_lineImages.clear();
    viewport()->update();
}

void LogScrollView::replaced()
{
    m_lineImages.clear();
    m_selection = {};
    m_wantedX = -1;
    m_widest = 0;
    m_layout.forgetLines();
    m_layout.setTopLine(LineNo(0));
    m_layout.setLeft(0);
    if (ownsPrimarySelection(this))
        QGuiApplication::clipboard()->clear(QClipboard::Selection);
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
    const qreal right = std::max(m_widest, m_layout.left() + width) + 1;
    horizontalScrollBar()->setRange(
        0, int(std::min<qreal>(std::max<qreal>(0, std::ceil(right) - width), kBarLines)));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(std::max(1, int(m_layout.metrics().tabWidth() / 8)));
    horizontalScrollBar()->setValue(int(std::min<qreal>(m_layout.left(), kBarLines)));
    m_settingBars = false;
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
    const ViewPainter::Look look {palette(),      m_colours,
                                  m_selection,    hasFocus() && m_caretOn && m_selection.isEmpty(),
                                  m_styleVersion, viewport()->devicePixelRatioF()};
    ViewPainter::paint(painter, m_layout, m_source, look, event->rect(), m_lineImages);
}

void LogScrollView::selectionMoved(bool byUser)
{
    if (byUser)
        offerPrimarySelection();
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

void LogScrollView::offerPrimarySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_selection.isEmpty() || !clipboard || !clipboard->supportsSelection())
        return;
    // The clipboard owns the offer from here on.
    clipboard->setMimeData(new PrimarySelection(this, m_selection), QClipboard::Selection);
}

bool LogScrollView::handleNavigationKey(QKeyEvent *event)
{
    using ViewNavigation::nextPosition;
    using ViewNavigation::previousPosition;
    const StoreOffset caret = m_selection.caret;
    const LineNo line = m_source.lineOf(caret);
    const qint64 page = std::max<qint64>(1, m_layout.fullLines() - 1);
    auto toLine = [&](LineNo target) {
        if (m_wantedX < 0)
            m_wantedX = m_layout.xOf(caret);
        const qreal wanted = m_wantedX;
        target = std::clamp(target, LineNo(0), LineNo(m_source.lineCount() - 1));
        const StoreOffset to = m_layout.offsetAtX(target, wanted);
        return std::pair {to, wanted};
    };
    struct Move
    {
        QKeySequence::StandardKey move, select;
    };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument},
    };
    for (int k = 0; k < int(std::size(moves)); ++k) {
        const bool extend = event->matches(moves[k].select);
        if (!extend && !event->matches(moves[k].move))
            continue;
        StoreOffset to = caret;
        qreal keepX = -1;
        switch (k) {
        case 0:
            to = nextPosition(m_source, caret);
            break;
        case 1:
            to = previousPosition(m_source, caret);
            break;
        case 2:
            to = ViewNavigation::nextWord(m_source, caret);
            break;
        case 3:
            to = ViewNavigation::previousWord(m_source, caret);
            break;
        case 4:
        case 5:
        case 6:
        case 7: {
            const qint64 step = k == 4 ? 1 : k == 5 ? -1 : k == 6 ? page : -page;
            std::tie(to, keepX) = toLine(line + step);
            if (k >= 6)
                setTopLine(m_layout.topLine() + step);
            break;
        }
        case 8:
            to = m_source.lineStart(line);
            break;
        case 9:
            to = m_source.lineEnd(line);
            break;
        case 10:
            to = StoreOffset(0);
            break;
        default:
            to = StoreOffset(m_source.size());
        }
        if (!extend && !m_selection.isEmpty() && (k == 0 || k == 1)) // collapse a selection
            to = k == 0 ? m_selection.end() : m_selection.start();
        moveCaret(to, extend);
        m_wantedX = keepX;
        return true;
    }
    return false;
}

void LogScrollView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        Q_EMIT copyRequested();
    } else if (event->matches(QKeySequence::SelectAll)) {
        m_selection = {StoreOffset(0), StoreOffset(m_source.size())};
        selectionMoved(true);
    } else if (!handleNavigationKey(event)) {
        // Read only: typing, Enter and Delete change nothing, and are not passed on either.
        event->accept();
        return;
    }
    event->accept();
}

void LogScrollView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const StoreOffset at = m_layout.positionAt(point);
    const bool triple = m_sinceDoubleClick.isValid()
        && m_sinceDoubleClick.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()
        && (point - m_doubleClickPoint).manhattanLength()
            < QGuiApplication::styleHints()->startDragDistance();
    m_sinceDoubleClick.invalidate();
    m_wantedX = -1;
    if (triple) {
        const LineNo line = m_source.lineOf(at);
        m_selection = {m_source.lineStart(line), m_source.lineEnd(line)};
        selectionMoved(true);
        return;
    }
    m_dragging = true;
    m_dragPoint = point;
    moveCaret(at, event->modifiers() & Qt::ShiftModifier);
}

void LogScrollView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const auto [start, end] = ViewNavigation::wordAt(m_source, m_layout.positionAt(point));
    m_selection = {start, end};
    m_sinceDoubleClick.start();
    m_doubleClickPoint = point;
    m_dragging = false;
    selectionMoved(true);
}

void LogScrollView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragPoint = event->position().toPoint();
    dragTo(m_dragPoint);
    // Outside the viewport the view keeps scrolling while the button is held.
    if (viewport()->rect().contains(m_dragPoint))
        m_dragTimer.stop();
    else if (!m_dragTimer.isActive())
        m_dragTimer.start(kDragTickMs, this);
}

void LogScrollView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_dragTimer.stop();
}

void LogScrollView::dragTo(QPoint point)
{
    const QRect inside = viewport()->rect();
    const int height = m_layout.metrics().lineHeight();
    if (point.y() < 0)
        setTopLine(m_layout.topLine() - (1 + -point.y() / height));
    else if (point.y() >= inside.height())
        setTopLine(m_layout.topLine() + (1 + (point.y() - inside.height()) / height));
    if (point.x() < 0)
        setLeft(m_layout.left() + point.x());
    else if (point.x() >= inside.width())
        setLeft(m_layout.left() + (point.x() - inside.width() + 1));
    const QPoint clamped(std::clamp(point.x(), 0, std::max(0, inside.width() - 1)),
                         std::clamp(point.y(), 0, std::max(0, inside.height() - 1)));
    moveCaret(m_layout.positionAt(clamped), true);
}

void LogScrollView::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
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
