#pragma once

#include "platform/FileWatch.h"

#include <QMap>

// A watch that tells of changes only when the test says so, and refuses every entry while
// refuse is set, as the system does once its limit of watches is reached.
class FakeFileWatch : public FileWatch
{
public:
    bool add(int entry, const QString &path) override
    {
        remove(entry);
        if (!refuse)
            watched.insert(entry, path);
        return !refuse;
    }
    void remove(int entry) override { watched.remove(entry); }
    bool isWatched(int entry) const override { return watched.contains(entry); }
    void setHandler(std::function<void(int)> onChange) override
    {
        m_onChange = std::move(onChange);
    }

    // Tells the handler that the entry's file may have changed.
    void change(int entry)
    {
        if (m_onChange)
            m_onChange(entry);
    }

    QMap<int, QString> watched; // entry -> path
    bool refuse = false;

private:
    std::function<void(int)> m_onChange;
};
