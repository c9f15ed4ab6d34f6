#pragma once

#include "platform/ReadProgress.h"

#include <memory>

class QProgressDialog;

// A progress dialog per file (QProgressDialog) that appears only once the read has taken about
// half a second and promises to take longer. It is application-modal, so each update lets the
// event loop paint it; it has no cancel button, since a start that stopped half-way would leave
// a file half shown.
class QtReadProgress : public ReadProgress
{
public:
    QtReadProgress();
    ~QtReadProgress() override;

    void update(const QString &fileName, qint64 done, qint64 total) override;
    void finish() override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
