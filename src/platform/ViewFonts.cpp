#include "platform/ViewFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>

namespace ViewFonts {

namespace {

constexpr double kFallbackPointSize = 14;

// Preferred faces for Japanese logs, in order; the first the desktop has wins.
const char *const kJapaneseMonospace[] = {
    "Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "VL Gothic", "IPAGothic", "Takao Gothic",
};

QString fallbackFace()
{
    const QStringList families = QFontDatabase::families();
    for (const char *face : kJapaneseMonospace) {
        const QString name = QString::fromLatin1(face);
        if (families.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

bool hasFace(const QString &faceName)
{
    return !faceName.isEmpty() && QFontDatabase::families().contains(faceName, Qt::CaseInsensitive);
}

// For a face the desktop is known to have.
bool measuresFixedPitch(const QString &faceName)
{
    if (QFontDatabase::isFixedPitch(faceName))
        return true;
    // Many Japanese monospace faces do not call themselves fixed-pitch because their
    // full-width glyphs are wider; measure the Latin ones instead.
    QFont font(faceName, 12);
    // Measure the face itself, not whatever Qt would borrow a missing glyph from.
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetricsF metrics(font);
    const QString latin = QStringLiteral("iMW0l.");
    const qreal width = metrics.horizontalAdvance(latin.at(0));
    for (const QChar c : latin) {
        if (!metrics.inFont(c) || qAbs(metrics.horizontalAdvance(c) - width) > 0.01)
            return false;
    }
    return width > 0;
}

} // namespace

QFont resolve(const QString &faceName, double pointSize)
{
    const QString face = hasFace(faceName) ? faceName : fallbackFace();
    QFont font(face);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize > 0 ? pointSize : kFallbackPointSize);
    return font;
}

QString actualFace(const QFont &font)
{
    return QFontInfo(font).family();
}

bool isFixedPitch(const QString &faceName)
{
    return hasFace(faceName) && measuresFixedPitch(faceName);
}

QList<Face> screenFaces()
{
    QList<Face> faces;
    for (const QString &family : QFontDatabase::families())
        faces.append({family, measuresFixedPitch(family)});
    return faces;
}

QStringList fixedPitchFaces()
{
    QStringList names;
    for (const QString &family : QFontDatabase::families()) {
        // Tested before measuring: a vertical face is never wanted, and measuring costs.
        if (family.startsWith(u'@'))
            continue;
        if (measuresFixedPitch(family))
            names.append(family);
    }
    return names;
}

QStringList fontChoices(const QList<Face> &faces)
{
    QStringList names;
    for (const Face &face : faces) {
        if (face.fixedPitch && !face.name.startsWith(u'@'))
            names.append(face.name);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

} // namespace ViewFonts
