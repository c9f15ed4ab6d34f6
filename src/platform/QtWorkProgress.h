#pragma once

#include "platform/ClipboardText.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

// Progress of work done on the user-interface thread in pieces: between pieces it lets the
// event loop run (every kAnswerMs at most), so the window keeps answering, and after about
// half a second of work it shows a progress dialog with a キャンセル button.
class QtWorkProgress : public WorkProgress
{
public:
    static constexpr qint64 kAnswerMs = 30;

    explicit QtWorkProgress(QString label);
    ~QtWorkProgress() override;

    bool update(qint64 done, qint64 total) override;

private:
    QString m_label;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<QProgressDialog> m_dialog;
};
