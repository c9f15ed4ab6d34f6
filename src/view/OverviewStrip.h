#pragma once

#include "view/OverviewMarks.h"

#include <QWidget>

#include <vector>

class LineStyler;
class TextSource;
class ViewLayout;

// The narrow strip beside the vertical scroll bar: the whole log from top to bottom, each line
// a rule matches marked in the rule's colour (left), each line with a match of the find word
// marked in the find colour (right), and the lines in sight as a shaded band. It draws what
// OverviewMarks says and nothing else.
//
// A click within a few pixels of a mark asks to go to its line (a find mark first, since it
// names one match); a click elsewhere asks to go to the line at that height.
class OverviewStrip : public QWidget
{
    Q_OBJECT

public:
    OverviewStrip(const OverviewMarks &marks, const LineStyler &styler, const TextSource &source,
                  const ViewLayout &layout, QWidget *parent);

    // The width it asks for, from the style's scroll bar.
    int preferredWidth() const;

Q_SIGNALS:
    // findMatch: the line holds a match of the find word, which is where to go.
    void goTo(LineNo line, bool findMatch);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const std::vector<OverviewMarks::Row> &rows();

    const OverviewMarks &m_marks;
    const LineStyler &m_styler;
    const TextSource &m_source;
    const ViewLayout &m_layout;
    std::vector<OverviewMarks::Row> m_rows;
    quint64 m_rowsVersion = 0;
    qint64 m_rowsLines = -1;
};
