#include "WatchedLogs.h"

#include <QFile>

void WatchedLogs::append(const QString &name, const QByteArray &bytes)
{
    QFile file(pathOf(name));
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test log %s", qPrintable(file.fileName()));
}

void WatchedLogs::watch(const QString &name)
{
    append(name, {});
    table.append(pathOf(name), table.getIndex());
    if (!reader.setupFilePointer(table.count() - 1))
        qFatal("cannot position the test log");
}
