#include "view/StoreLogView.h"

#include "platform/QtTaskQueue.h"
#include "view/LogScrollView.h"
#include "view/OverviewScanner.h"
#include "view/SelectionCopy.h"
#include "view/ViewNavigation.h"
#include "view/store/StoreSearch.h"

#include <QPalette>

StoreLogView::StoreLogView(QWidget *parent, qsizetype blockBytes, std::unique_ptr<SpillFile> spill)
    : m_store(blockBytes, nullptr, std::move(spill))
    , m_turns(std::make_unique<QtTaskQueue>())
    , m_scanner(std::make_unique<OverviewScanner>(m_store, *m_turns))
    , m_widget(new LogScrollView(m_store, m_colours, parent))
{
    m_widget->showHighlights(m_styler, m_scanner->marks());
    m_scanner->setMarksChanged([this] {
        if (m_widget)
            m_widget->marksChanged();
    });
}

StoreLogView::~StoreLogView()
{
    delete m_widget.data(); // null when the parent has already taken it down
}

LogScrollView *StoreLogView::widget() const
{
    return m_widget.data();
}

QColor StoreLogView::textColorAt(qsizetype offset) const
{
    const QColor colour = m_colours.colourAt(offset);
    if (colour.isValid() || !m_widget)
        return colour;
    return m_widget->palette().color(QPalette::Text);
}

qsizetype StoreLogView::textLength() const
{
    return m_store.size();
}

QString StoreLogView::text() const
{
    return m_store.read(StoreOffset(0), m_store.size()).text;
}

void StoreLogView::setText(const QString &text)
{
    m_store.clear();
    m_colours.clear();
    m_styler.textReplaced();
    m_scanner->storeCleared();
    append(text, 0);
    if (m_widget)
        m_widget->replaced();
}

qsizetype StoreLogView::caret() const
{
    return selectionStart();
}

void StoreLogView::setCaret(qsizetype position)
{
    select(position, 0);
}

qsizetype StoreLogView::selectionStart() const
{
    return m_widget ? m_widget->selection().start().value : 0;
}

qsizetype StoreLogView::selectionLength() const
{
    return m_widget ? m_widget->selection().length() : 0;
}

void StoreLogView::select(qsizetype start, qsizetype length)
{
    if (!m_widget)
        return;
    const StoreOffset from = ViewNavigation::snapped(m_store, StoreOffset(start));
    const StoreOffset to
        = ViewNavigation::snapped(m_store, StoreOffset(start) + std::max<qsizetype>(length, 0));
    m_widget->setSelection({from, to});
}

QString StoreLogView::selectedText() const
{
    return m_store.read(StoreOffset(selectionStart()), selectionLength()).text;
}

std::shared_ptr<const ClipboardText> StoreLogView::selectionForCopy(bool withFileNames) const
{
    if (!m_widget)
        return nullptr;
    return std::make_shared<SelectionCopy>(m_widget, m_widget->selection(), withFileNames,
                                           m_widget->originNamer());
}

std::optional<qsizetype> StoreLogView::find(QStringView word, qsizetype from,
                                            Qt::CaseSensitivity sensitivity) const
{
    const auto hit = StoreSearch::findForward(m_store, word, StoreOffset(from), sensitivity);
    return hit ? std::optional<qsizetype>(hit->value) : std::nullopt;
}

std::optional<qsizetype> StoreLogView::findBackward(QStringView word, qsizetype end,
                                                    Qt::CaseSensitivity sensitivity) const
{
    const auto hit = StoreSearch::findBackward(m_store, word, StoreOffset(end), sensitivity);
    return hit ? std::optional<qsizetype>(hit->value) : std::nullopt;
}

void StoreLogView::showMatches(const QString &word, Qt::CaseSensitivity sensitivity,
                               MatchCountReport report)
{
    m_styler.setFindWord(word, sensitivity);
    m_scanner->setFindWord(word, sensitivity, std::move(report));
    if (m_widget)
        m_widget->highlightsChanged();
}

void StoreLogView::setHighlightRules(const HighlightRules &rules)
{
    m_styler.setRules(rules);
    m_scanner->setRules(rules);
    if (m_widget)
        m_widget->highlightsChanged();
}

void StoreLogView::append(const QString &text, quint16 origin)
{
    if (text.isEmpty())
        return;
    m_colours.append(m_store.size(), m_insertColour);
    m_store.append(text, origin);
    m_scanner->storeGrew();
}

void StoreLogView::appendEncoded(QByteArrayView storeBytes, quint16 origin)
{
    m_colours.append(m_store.size(), m_insertColour);
    m_store.appendEncoded(storeBytes, origin);
    m_scanner->storeGrew();
}

void StoreLogView::insertAtCaret(const QString &text, quint16 origin)
{
    if (text.isEmpty())
        return;
    append(text, origin);
    if (m_widget)
        m_widget->appended();
}

void StoreLogView::insertEncodedAtCaret(QByteArrayView storeBytes, quint16 origin)
{
    if (storeBytes.isEmpty())
        return;
    appendEncoded(storeBytes, origin);
    if (m_widget)
        m_widget->appended();
}

void StoreLogView::appendEncodedKeepingPlace(QByteArrayView storeBytes, quint16 origin)
{
    if (storeBytes.isEmpty())
        return;
    appendEncoded(storeBytes, origin);
    if (m_widget)
        m_widget->grewBelow();
}

void StoreLogView::setBackgroundColor(const QColor &color)
{
    if (!m_widget)
        return;
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Base, color);
    m_widget->setPalette(palette);
}

void StoreLogView::setSelectionTextColor(const QColor &color)
{
    const qsizetype length = selectionLength();
    if (length > 0) {
        const qsizetype start = selectionStart();
        m_colours.paint(start, start + length, color);
        m_widget->coloursChanged();
        return;
    }
    // Kept apart from the text: moving the caret to the end before an append would otherwise
    // pick up the colour of the text already there.
    m_insertColour = color;
}

QFont StoreLogView::font() const
{
    return m_widget ? m_widget->font() : QFont();
}

void StoreLogView::setFont(const QFont &font)
{
    if (m_widget)
        m_widget->setFont(font);
}

void StoreLogView::setFocus()
{
    if (m_widget)
        m_widget->setFocus();
}
