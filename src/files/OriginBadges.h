#pragma once

#include <QIdentityProxyModel>

// The watched-file list as the file-list dialog shows it: each entry with the badge its lines
// carry in the log view's gutter (the file's colour and number, OriginPalette), so the list
// says which file is which there. A screen reader hears the number before the path.
class OriginBadges : public QIdentityProxyModel
{
    Q_OBJECT

public:
    // badgeSize in device-independent pixels.
    OriginBadges(int badgeSize, QObject *parent);

    QVariant data(const QModelIndex &index, int role) const override;

private:
    int m_badgeSize;
};
