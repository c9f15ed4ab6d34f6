#pragma once

#include "view/OriginPalette.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class ViewLayout;
class TextSource;

// What the gutter shows for an origin: the file's number (1 to 11, its colour follows from it)
// and its full path for the tooltip.
struct OriginMark
{
    int number = 0;
    QString path;
};
using OriginNamer = std::function<std::optional<OriginMark>(quint16 origin)>;

// A narrow strip at the left of the log view that marks each line in sight with the file it
// came from: a band in the file's colour, its number where a file's lines begin (and on the
// top line), the full path as a tooltip. It reads each visible line's origin once per paint
// (a search among the store's runs) and draws nothing for lines of no known file. The bands
// are kept as pictures, made again only when the line height, the width or the scale
// changes, so a repaint under a busy log only copies them.
//
// It belongs to the view's scroll area, which places it beside the viewport and repaints it
// when the lines in sight change.
class OriginGutter : public QWidget
{
    Q_OBJECT

public:
    OriginGutter(const TextSource &source, const ViewLayout &layout, QWidget *parent);

    void setNamer(OriginNamer namer) { m_namer = std::move(namer); }
    const OriginNamer &namer() const { return m_namer; }
    // Wide enough for the number 11 and a little air.
    int preferredWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    std::optional<OriginMark> markOfLineAt(int y) const;
    // The band of one line for a file's number, with the number or without.
    const QPixmap &band(int number, bool withNumber);

    const TextSource &m_source;
    const ViewLayout &m_layout;
    OriginNamer m_namer;
    std::array<QPixmap, 2 * OriginPalette::kColours> m_bands; // [2 * (number - 1) + withNumber]
    QSize m_bandSize;
    qreal m_bandScale = 0;
};
