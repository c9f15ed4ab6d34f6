#pragma once

#include "status/StatusSummary.h"

#include <QStatusBar>

class QLabel;
class QToolButton;

// The status bar under the log view: the monitoring state (a click switches it, as the menu
// does), grep mode with its keyword, the number of lines and, while the view does not follow
// the end, the lines that arrived below (a click goes there). The texts come from
// StatusSummary; this only shows them. Parts with nothing to say are hidden, so they are
// neither seen nor announced by a screen reader.
class MonitorStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit MonitorStatusBar(QWidget *parent = nullptr);

    void showFacts(const StatusFacts &facts);

    QString monitoringShown() const;
    QString grepShown() const;
    QString linesShown() const;
    QString newLinesShown() const;

Q_SIGNALS:
    void monitoringClicked();
    void newLinesClicked();

private:
    QToolButton *m_monitoring;
    QLabel *m_grep;
    QLabel *m_lines;
    QToolButton *m_newLines;
};
