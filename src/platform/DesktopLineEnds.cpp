#include "platform/DesktopLineEnds.h"

QString toDesktopLineEnds(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\r':
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result.append(u'\n');
            break;
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            result.append(u'\n');
            break;
        default:
            result.append(c);
        }
    }
    return result;
}
