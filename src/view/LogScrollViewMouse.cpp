#include "view/LogScrollView.h"

#include "view/ViewNavigation.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>

// What the mouse does in the log view: click, drag (scrolling while the pointer is outside),
// double- and triple-click, Shift+click, the context menu.

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
