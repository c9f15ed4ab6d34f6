#include "platform/VisibleOnlyAccessible.h"

#include <QDialog>
#include <QStatusBar>

namespace {

const char *const kMark = "pivexVisibleOnlyAccessible";

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->property(kMark).toBool())
        return nullptr;
    const QAccessible::Role role = qobject_cast<QDialog *>(widget) ? QAccessible::Dialog
        : qobject_cast<QStatusBar *>(widget)                       ? QAccessible::StatusBar
                                                                   : QAccessible::Client;
    return new VisibleOnlyAccessible(widget, role);
}

} // namespace

VisibleOnlyAccessible::VisibleOnlyAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void VisibleOnlyAccessible::markVisibleOnly(QWidget *widget)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kMark, true);
}

QList<QWidget *> VisibleOnlyAccessible::shownChildren() const
{
    // The children Qt itself would list (QAccessibleWidget's own count), less the hidden.
    QList<QWidget *> shown;
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
        QAccessibleInterface *iface = QAccessibleWidget::child(i);
        auto *childWidget = iface ? qobject_cast<QWidget *>(iface->object()) : nullptr;
        if (childWidget && !childWidget->isHidden())
            shown.append(childWidget);
    }
    return shown;
}

int VisibleOnlyAccessible::childCount() const
{
    return int(shownChildren().size());
}

QAccessibleInterface *VisibleOnlyAccessible::child(int index) const
{
    const QList<QWidget *> shown = shownChildren();
    if (index < 0 || index >= shown.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
}

int VisibleOnlyAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}
