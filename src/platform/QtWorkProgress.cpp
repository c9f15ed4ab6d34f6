#include "platform/QtWorkProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr qint64 kShowAfterMs = 500;
constexpr int kScale = 1000; // the dialog's range, whatever the total
} // namespace

QtWorkProgress::QtWorkProgress(QString label)
    : m_label(std::move(label))
{
    m_started.start();
    m_sinceEvents.start();
}

QtWorkProgress::~QtWorkProgress() = default;

bool QtWorkProgress::update(qint64 done, qint64 total)
{
    if (m_sinceEvents.elapsed() < kAnswerMs)
        return !(m_dialog && m_dialog->wasCanceled());
    if (!m_dialog && m_started.elapsed() >= kShowAfterMs && done < total) {
        m_dialog
            = std::make_unique<QProgressDialog>(m_label, QStringLiteral("キャンセル"), 0, kScale);
        m_dialog->setWindowTitle(QStringLiteral("Pivex"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
    }
    if (m_dialog)
        m_dialog->setValue(total > 0 ? int(done * kScale / total) : 0);
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
    return !(m_dialog && m_dialog->wasCanceled());
}
