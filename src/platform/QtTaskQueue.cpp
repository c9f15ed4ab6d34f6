#include "platform/QtTaskQueue.h"

#include <QMetaObject>

void QtTaskQueue::post(std::function<void()> task)
{
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}
