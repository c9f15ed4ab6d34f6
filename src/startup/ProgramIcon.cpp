#include "startup/ProgramIcon.h"

namespace ProgramIcon {

QIcon icon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/pivex.png").arg(side),
                     QSize(side, side));
    }
    return icon;
}

} // namespace ProgramIcon
