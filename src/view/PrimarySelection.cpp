#include "view/PrimarySelection.h"

#include "platform/DesktopLineEnds.h"
#include "view/LogScrollView.h"

#include <QClipboard>
#include <QGuiApplication>

#include <new>

namespace {

const QString kPlainText = QStringLiteral("text/plain");

QClipboard *primary()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard && clipboard->supportsSelection() ? clipboard : nullptr;
}

} // namespace

PrimarySelection::PrimarySelection(LogScrollView *view, ViewSelection range)
    : m_view(view)
    , m_range(range)
{
}

void PrimarySelection::offer(LogScrollView *view, ViewSelection range)
{
    if (QClipboard *clipboard = primary(); clipboard && !range.isEmpty())
        clipboard->setMimeData(new PrimarySelection(view, range), QClipboard::Selection);
}

void PrimarySelection::withdraw(const QObject *view)
{
    QClipboard *clipboard = primary();
    if (!clipboard)
        return;
    const auto *offered
        = dynamic_cast<const PrimarySelection *>(clipboard->mimeData(QClipboard::Selection));
    if (offered && offered->m_view == view)
        clipboard->clear(QClipboard::Selection);
}

bool PrimarySelection::hasFormat(const QString &type) const
{
    return type == kPlainText;
}

QStringList PrimarySelection::formats() const
{
    return {kPlainText};
}

QVariant PrimarySelection::retrieveData(const QString &type, QMetaType) const
{
    if (type != kPlainText || !m_view)
        return {};
    // A program pasting a selection too large for the memory left gets nothing, and the
    // window goes on.
    try {
        return toDesktopLineEnds(m_view->source().read(m_range.start(), m_range.length()).text);
    } catch (const std::bad_alloc &) {
        return {};
    }
}
