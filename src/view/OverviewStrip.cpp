#include "view/OverviewStrip.h"

#include "view/LineStyler.h"
#include "view/ViewLayout.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {
constexpr int kClickSlack = 3; // pixels around a mark that still hit it
}

OverviewStrip::OverviewStrip(const OverviewMarks &marks, const LineStyler &styler,
                             const TextSource &source, const ViewLayout &layout, QWidget *parent)
    : QWidget(parent)
    , m_marks(marks)
    , m_styler(styler)
    , m_source(source)
    , m_layout(layout)
{
    setObjectName(QStringLiteral("overview"));
    setAccessibleName(QStringLiteral("強調表示と検索結果の位置"));
    setCursor(Qt::PointingHandCursor);
}

int OverviewStrip::preferredWidth() const
{
    return std::max(6, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) * 3 / 4);
}

const std::vector<OverviewMarks::Row> &OverviewStrip::rows()
{
    const qint64 lines = m_source.lineCount();
    if (m_rowsVersion != m_marks.version() || m_rowsLines != lines
        || qsizetype(m_rows.size()) != height()) {
        m_rows = m_marks.rows(lines, height());
        m_rowsVersion = m_marks.version();
        m_rowsLines = lines;
    }
    return m_rows;
}

void OverviewStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const qint64 lines = m_source.lineCount();
    const int h = height();
    // A line of a short log covers several rows; a mark is never less than two.
    const int markHeight = int(std::max<qint64>(2, h / std::max<qint64>(lines, 1)));
    // The lines in sight.
    const LineNo top = m_layout.topLine();
    const int first = OverviewMarks::rowOf(top, lines, h);
    const int last = OverviewMarks::rowOf(top + (m_layout.fullLines() - 1), lines, h);
    QColor sight = palette().color(QPalette::Mid);
    sight.setAlpha(90);
    painter.fillRect(QRect(0, first, width(), last - first + markHeight), sight);

    const int split = width() * 3 / 5;
    const std::vector<OverviewMarks::Row> &marks = rows();
    const QColor find = LineStyler::findBackground().darker(125);
    for (int y = 0; y < int(marks.size()); ++y) {
        const OverviewMarks::Row &row = marks[size_t(y)];
        if (row.rule >= 0 && row.rule < int(m_styler.rules().rules().size()))
            painter.fillRect(QRect(1, y, split - 1, markHeight),
                             m_styler.rules().at(row.rule).markColour());
        if (row.findLine >= 0)
            painter.fillRect(QRect(split, y, width() - split, markHeight), find);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, 0, h);
}

void OverviewStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int y = event->position().toPoint().y();
    const std::vector<OverviewMarks::Row> &marks = rows();
    // The nearest marked row, looking outwards.
    for (int distance = 0; distance <= kClickSlack; ++distance) {
        for (const int row : {y - distance, y + distance}) {
            if (row < 0 || row >= int(marks.size()) || !marks[size_t(row)].isMarked())
                continue;
            const OverviewMarks::Row &mark = marks[size_t(row)];
            if (mark.findLine >= 0)
                Q_EMIT goTo(LineNo(mark.findLine), true);
            else
                Q_EMIT goTo(LineNo(mark.ruleLine), false);
            return;
        }
    }
    Q_EMIT goTo(OverviewMarks::lineOfRow(y, m_source.lineCount(), height()), false);
}
