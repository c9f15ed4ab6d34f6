#include "view/PrimarySelection.h"

#include "platform/LazyMimeData.h"
#include "view/LogScrollView.h"
#include "view/SelectionCopy.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const char *const kOfferedBy = "pivexOfferedBy";

QClipboard *primary()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard && clipboard->supportsSelection() ? clipboard : nullptr;
}

} // namespace

void PrimarySelection::offer(LogScrollView *view, ViewSelection range)
{
    QClipboard *clipboard = primary();
    if (!clipboard || range.isEmpty())
        return;
    // A program pasting a selection too large for the memory left gets nothing, and the
    // window goes on.
    auto *data = new LazyMimeData(std::make_shared<SelectionCopy>(view, range, false), {});
    data->setProperty(kOfferedBy, QVariant::fromValue(static_cast<QObject *>(view)));
    clipboard->setMimeData(data, QClipboard::Selection);
}

void PrimarySelection::withdraw(const QObject *view)
{
    QClipboard *clipboard = primary();
    if (!clipboard)
        return;
    const QMimeData *offered = clipboard->mimeData(QClipboard::Selection);
    if (offered && offered->property(kOfferedBy).value<QObject *>() == view)
        clipboard->clear(QClipboard::Selection);
}
