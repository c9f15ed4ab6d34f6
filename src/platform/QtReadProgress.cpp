#include "platform/QtReadProgress.h"

#include <QProgressDialog>

#include <algorithm>

namespace {
constexpr int kSteps = 1000; // the dialog counts in int; files may be larger than that
constexpr int kShowAfterMs = 500;
} // namespace

QtReadProgress::QtReadProgress() = default;
QtReadProgress::~QtReadProgress() = default;

void QtReadProgress::update(const QString &fileName, qint64 done, qint64 total)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setWindowTitle(QStringLiteral("Pivex"));
        m_dialog->setCancelButton(nullptr);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(kShowAfterMs);
        m_dialog->setRange(0, kSteps);
        m_dialog->setValue(0); // starts the dialog's clock
    }
    m_dialog->setLabelText(fileName);
    const int step = total > 0 ? int(std::clamp<qint64>(done * kSteps / total, 0, kSteps - 1)) : 0;
    m_dialog->setValue(step);
}

void QtReadProgress::finish()
{
    m_dialog.reset();
}
