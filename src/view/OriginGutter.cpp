#include "view/OriginGutter.h"

#include "view/OriginPalette.h"
#include "view/ViewLayout.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

OriginGutter::OriginGutter(const TextSource &source, const ViewLayout &layout, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
    , m_layout(layout)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

int OriginGutter::preferredWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("11")) + 8;
}

void OriginGutter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int height = m_layout.metrics().lineHeight();
    const qint64 lines = m_source.textLines(); // an empty last line is no file's
    quint16 above = 0;
    for (qint64 row = 0; row < m_layout.shownLines(); ++row) {
        const LineNo line = m_layout.topLine() + row;
        if (line.value >= lines)
            break;
        const quint16 origin = m_source.originOf(line);
        const std::optional<OriginMark> mark = m_namer && origin ? m_namer(origin) : std::nullopt;
        // The number where a file's lines begin; below it the band says the same.
        if (mark && mark->number >= 1 && mark->number <= OriginPalette::kColours)
            painter.drawPixmap(1, int(row) * height,
                               band(mark->number, row == 0 || origin != above));
        above = origin;
    }
}

const QPixmap &OriginGutter::band(int number, bool withNumber)
{
    const QSize size(width() - 4, m_layout.metrics().lineHeight());
    const qreal scale = devicePixelRatioF();
    if (size != m_bandSize || scale != m_bandScale) {
        m_bands = {};
        m_bandSize = size;
        m_bandScale = scale;
    }
    QPixmap &picture = m_bands[size_t(2 * (number - 1) + (withNumber ? 1 : 0))];
    if (picture.isNull() && !size.isEmpty()) {
        picture = QPixmap(size * scale);
        picture.setDevicePixelRatio(scale);
        QPainter painter(&picture);
        painter.setFont(font());
        OriginPalette::paintBadge(painter, QRect(QPoint(0, 0), size), number, withNumber);
    }
    return picture;
}

std::optional<OriginMark> OriginGutter::markOfLineAt(int y) const
{
    const qint64 row = y / std::max(1, m_layout.metrics().lineHeight());
    const LineNo line = m_layout.topLine() + row;
    if (y < 0 || line.value >= m_source.lineCount() || !m_namer)
        return std::nullopt;
    const quint16 origin = m_source.originOf(line);
    return origin ? m_namer(origin) : std::nullopt;
}

bool OriginGutter::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_bands = {}; // the numbers are drawn in the view's font
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    if (const auto mark = markOfLineAt(help->pos().y()))
        QToolTip::showText(help->globalPos(),
                           QString::number(mark->number) % QStringLiteral(": ") % mark->path, this);
    else
        QToolTip::hideText();
    return true;
}
