#pragma once

#include <QIcon>

// The program's icon, drawn once (resources/icons/hicolor/scalable/apps/pivex.svg) and carried
// in the binary as the PNGs of the hicolor theme, 16 to 256 pixels, so that every window's
// title bar, the task bar and the about box pick a sharp size at any scale without needing the
// icon theme to be installed.
namespace ProgramIcon {
QIcon icon();
} // namespace ProgramIcon
