#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

// Keeps at most one instance of a modeless dialog that has no owner window. The factory makes
// the dialog on first use; showing it again brings the same window forward instead of opening
// a second one, with its contents as they are.
//
// A dialog that deletes itself when closed (Qt::WA_DeleteOnClose) clears the holder, so the
// next use makes a fresh one. A dialog that only hides lives as long as the holder.
//
// Edge cases: a dialog closed but not yet deleted (its deferred delete is still queued) counts
// as gone, so a quick reopen never shows a window about to vanish; the holder deletes a dialog
// that still exists when the holder itself goes, since the dialogs have no parent to do it.
template<typename Dialog>
class DialogHolder
{
public:
    using Factory = std::function<Dialog *()>;

    explicit DialogHolder(Factory factory)
        : m_factory(std::move(factory))
    {
    }
    ~DialogHolder() { delete m_dialog.data(); }

    DialogHolder(const DialogHolder &) = delete;
    DialogHolder &operator=(const DialogHolder &) = delete;

    // The existing dialog, or a new one, not yet shown.
    Dialog *instance()
    {
        if (m_dialog && m_deletesOnClose && isClosed(m_dialog)) {
            // Qt drops the attribute when it queues the delete, hence the remembered flag.
            // A second deleteLater() is harmless and frees one that was merely hidden.
            m_dialog->deleteLater();
            m_dialog.clear();
        }
        if (!m_dialog) {
            m_dialog = m_factory();
            m_deletesOnClose = m_dialog->testAttribute(Qt::WA_DeleteOnClose);
        }
        return m_dialog;
    }

    // The existing dialog, or nullptr; never makes one.
    Dialog *current() const { return m_dialog; }

    // Shows the dialog modeless, making it first if needed, and brings it to the front.
    Dialog *show()
    {
        Dialog *dialog = instance();
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        return dialog;
    }

private:
    // Shown once and hidden again.
    static bool isClosed(const QWidget *dialog)
    {
        return dialog->testAttribute(Qt::WA_WState_ExplicitShowHide) && dialog->isHidden();
    }

    Factory m_factory;
    QPointer<Dialog> m_dialog;
    bool m_deletesOnClose = false;
};
