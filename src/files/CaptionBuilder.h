#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The main window's caption, built from the watched-file entries in list order and the title
// given on the command line:
//   no title:  "Pivex [ファイル指定なし]", "Pivex [whole path]" for one file, "Pivex [a.log,b.log]"
//   title:     "title [ファイル指定なし] - Pivex", "title [a.log] - Pivex", "title [a.log,b.log] -
//   Pivex"
// A file's name is the text after the last path separator, or the whole entry without one.
//
// Edge cases: an entry ending in the separator contributes an empty name ("Pivex [a.log,]");
// the same file twice shows its name twice; names are neither quoted nor escaped, so a comma
// in a name reads like two names; the caption is never shortened.
class CaptionBuilder
{
public:
#ifdef Q_OS_WIN
    static constexpr QChar kPathSeparator = u'\\';
#else
    static constexpr QChar kPathSeparator = u'/';
#endif

    static QString caption(const QStringList &entries, const QString &windowTitle,
                           QChar pathSeparator = kPathSeparator);
};
