#include "view/LogViewAccessible.h"

#include "view/LogScrollView.h"

#include <algorithm>

namespace {

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<LogScrollView *>(object))
        return new LogViewAccessible(view);
    return nullptr;
}

} // namespace

LogViewAccessible::LogViewAccessible(LogScrollView *view)
    : VisibleOnlyAccessible(view, QAccessible::EditableText)
{
}

void LogViewAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

LogScrollView *LogViewAccessible::view() const
{
    return static_cast<LogScrollView *>(widget());
}

LogViewAccessible::TextWindow LogViewAccessible::textWindow() const
{
    const TextSource &source = view()->source();
    const ViewLayout &layout = view()->viewLayout();
    const LineNo first = std::max(LineNo(0), layout.topLine() - kMarginLines);
    const LineNo last = std::min(LineNo(source.lineCount() - 1),
                                 layout.topLine() + layout.shownLines() + kMarginLines);
    const qint64 start = source.lineStart(first).value;
    return {start, std::min(source.lineEnd(last).value, start + kMaxWindow)};
}

int LogViewAccessible::local(qint64 offset) const
{
    const TextWindow w = textWindow();
    return int(std::clamp(offset, w.start, w.end) - w.start);
}

void *LogViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LogViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString LogViewAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return text(0, characterCount());
    return QAccessibleWidget::text(type);
}

void LogViewAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const ViewSelection selection = view()->selection();
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && !selection.isEmpty()) {
        *startOffset = local(selection.start().value);
        *endOffset = local(selection.end().value);
    }
}

int LogViewAccessible::selectionCount() const
{
    return view()->selection().isEmpty() ? 0 : 1;
}

void LogViewAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LogViewAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0) {
        const StoreOffset caret = view()->selection().caret;
        view()->setSelection({caret, caret});
    }
}

void LogViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const TextWindow w = textWindow();
    const auto at = [&w](int offset) {
        return StoreOffset(std::clamp<qint64>(w.start + offset, w.start, w.end));
    };
    view()->setSelection({at(startOffset), at(endOffset)});
}

int LogViewAccessible::cursorPosition() const
{
    return local(view()->selection().caret.value);
}

void LogViewAccessible::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString LogViewAccessible::text(int startOffset, int endOffset) const
{
    const TextWindow w = textWindow();
    const qint64 start = std::clamp<qint64>(startOffset, 0, w.end - w.start);
    const qint64 end = std::clamp<qint64>(endOffset, start, w.end - w.start);
    return view()->source().read(StoreOffset(w.start + start), end - start).text;
}

int LogViewAccessible::characterCount() const
{
    const TextWindow w = textWindow();
    return int(w.end - w.start);
}

QRect LogViewAccessible::characterRect(int offset) const
{
    const TextWindow w = textWindow();
    const StoreOffset at(std::clamp<qint64>(w.start + offset, w.start, w.end));
    const ViewLayout &layout = view()->viewLayout();
    QRect rect = layout.caretRect(at);
    const qreal x = layout.xOf(at);
    rect.setWidth(std::max(1, int(layout.xOf(at + 1) - x)));
    return QRect(view()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int LogViewAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inside = view()->viewport()->mapFromGlobal(point);
    return local(view()->viewLayout().positionAt(inside).value);
}

void LogViewAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const TextWindow w = textWindow();
    const auto at = [&w](int offset) {
        return StoreOffset(std::clamp<qint64>(w.start + offset, w.start, w.end));
    };
    view()->setSelection({at(endIndex), at(startIndex)});
}

QString LogViewAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

void LogViewAccessible::selectionChanged(LogScrollView *view)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
    auto *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        return;
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    QAccessibleTextSelectionEvent selection(view, start, end);
    selection.setCursorPosition(text->cursorPosition());
    QAccessible::updateAccessibility(&selection);
    QAccessibleTextCursorEvent cursor(view, text->cursorPosition());
    QAccessible::updateAccessibility(&cursor);
}

void LogViewAccessible::textChanged(LogScrollView *view, bool cleared)
{
    if (!QAccessible::isActive())
        return;
    if (cleared) {
        QAccessibleEvent update(view, QAccessible::TextUpdated);
        QAccessible::updateAccessibility(&update);
        return;
    }
    // The log grows at its end: what came is the text up to the caret the append left there.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
    auto *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        return;
    const int end = text->characterCount();
    QAccessibleTextInsertEvent insert(view, end, QString());
    QAccessible::updateAccessibility(&insert);
}
