#include "files/CaptionBuilder.h"

QString CaptionBuilder::caption(const QStringList &entries, const QString &windowTitle,
                                QChar pathSeparator)
{
    QString files;
    if (entries.isEmpty()) {
        files = QStringLiteral("ファイル指定なし");
    } else if (windowTitle.isEmpty() && entries.size() == 1) {
        // One file and no title: the caption has room for the path as listed.
        files = entries.constFirst();
    } else {
        QStringList names;
        names.reserve(entries.size());
        for (const QString &entry : entries)
            names.append(entry.mid(entry.lastIndexOf(pathSeparator) + 1));
        files = names.join(QLatin1Char(','));
    }

    if (windowTitle.isEmpty())
        return QStringLiteral("Pivex [") + files + QLatin1Char(']');
    return windowTitle + QStringLiteral(" [") + files + QStringLiteral("] - Pivex");
}
