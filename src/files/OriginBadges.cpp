#include "files/OriginBadges.h"

#include "engine/WatchedFileTable.h"
#include "view/OriginPalette.h"

#include <QGuiApplication>

OriginBadges::OriginBadges(int badgeSize, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_badgeSize(badgeSize)
{
}

QVariant OriginBadges::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DecorationRole && role != Qt::AccessibleTextRole)
        return QIdentityProxyModel::data(index, role);
    const QVariant slot = QIdentityProxyModel::data(index, WatchedFileTable::SlotRole);
    if (!slot.isValid())
        return {};
    const int number = slot.toInt() + 1;
    if (role == Qt::AccessibleTextRole)
        return QString(QString::number(number) % QStringLiteral(": ")
                       % QIdentityProxyModel::data(index, Qt::DisplayRole).toString());
    return OriginPalette::badge(number, m_badgeSize, qApp->devicePixelRatio());
}
