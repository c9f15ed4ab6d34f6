#pragma once

#include "view/ViewSelection.h"

#include <QMimeData>
#include <QPointer>

class LogScrollView;

// The X11 primary selection of a log view. The text of a selection can run to gigabytes, so
// it is not made when the user selects: the offer holds the range and makes its text (with
// the desktop's line ends) only when a program pastes it. The store only grows, so the range
// keeps meaning the same text until the view is cleared or goes, when the view withdraws
// the offer. Desktops without a primary selection are left alone.
class PrimarySelection : public QMimeData
{
public:
    // Puts the view's selected range on the primary selection; the clipboard owns the offer.
    static void offer(LogScrollView *view, ViewSelection range);
    // Empties the primary selection if it still holds an offer of this view.
    static void withdraw(const QObject *view);

    bool hasFormat(const QString &type) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString &type, QMetaType) const override;

private:
    PrimarySelection(LogScrollView *view, ViewSelection range);

    QPointer<LogScrollView> m_view;
    ViewSelection m_range;
};
