#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

// The fonts the log view may use: fixed-pitch faces only.
//
// A face counts as fixed-pitch when its Latin characters all have one advance width, so
// Japanese monospace faces, whose full-width glyphs are twice as wide, are listed too.
// A stored face the desktop does not have ("Terminal" usually) falls back to a fixed-pitch
// face with Japanese glyphs, so a log is never shown in boxes or in a proportional face.
namespace ViewFonts {

// One face the desktop offers for the screen, with the outcome of the fixed-pitch test.
struct Face
{
    QString name;
    bool fixedPitch = false;
};

// The font for a face name and a point size, falling back as above. A size of zero or less is
// replaced by the fallback size.
QFont resolve(const QString &faceName, double pointSize);

// The face a font really uses, which is what the settings store keeps.
QString actualFace(const QFont &font);

// Every face of the screen in the desktop's order, vertical-writing ("@") faces included and
// marked as they test.
QList<Face> screenFaces();

// The screen's fixed-pitch faces, vertical-writing ("@") faces left out, in the desktop's order.
QStringList fixedPitchFaces();

// The faces a user may pick for the view: fixed-pitch ones only, never a vertical-writing
// ("@") face, in alphabetical order without regard to letter case. Names equal but for case
// keep the desktop's order among themselves; a name listed twice stays twice.
QStringList fontChoices(const QList<Face> &faces);

// False for a face the desktop does not have, and for one lacking the Latin letters a log
// needs: a symbol face would otherwise be measured with the glyphs of some other face.
bool isFixedPitch(const QString &faceName);

} // namespace ViewFonts
