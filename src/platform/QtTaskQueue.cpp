#include "platform/QtTaskQueue.h"

#include <QMetaObject>
#include <QTimer>

void QtTaskQueue::post(std::function<void()> task)
{
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

void QtTaskQueue::postAfter(int milliseconds, std::function<void()> task)
{
    // Short waits on a precise timer: a coarse one may stretch them by a twentieth.
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &m_context, std::move(task));
}
