#pragma once

#include "platform/Clipboard.h"

#include <QString>

#include <optional>

// Progress that shows nothing and stops the work after a number of pieces, if told to.
struct SilentProgress : WorkProgress
{
    explicit SilentProgress(qint64 stopAfter = -1)
        : stopAfterCalls(stopAfter)
    {
    }
    bool update(qint64, qint64) override { return stopAfterCalls-- != 0; }
    qint64 stopAfterCalls; // -1: never stops
};

// Keeps the last offer and how often one was made; paste() makes its text as a program
// pasting it would, without a progress dialog (or with a progress that stops it).
class FakeClipboard : public Clipboard
{
public:
    void offer(std::shared_ptr<const ClipboardText> text, std::function<void()> noMemory) override
    {
        offered = std::move(text);
        onNoMemory = std::move(noMemory);
        settled.reset();
        isSettled = false;
        ++calls;
    }
    void settle() override
    {
        if (offered) {
            settled = paste();
            isSettled = true;
        }
        offered.reset();
    }

    // What a program pasting now gets: nullopt when the text could not be made.
    std::optional<QString> paste(WorkProgress &&progress = SilentProgress()) const
    {
        if (isSettled)
            return settled;
        if (!offered)
            return std::nullopt;
        QByteArray utf8;
        const ClipboardText::Outcome outcome = offered->make(utf8, progress);
        if (outcome == ClipboardText::Outcome::NoMemory && onNoMemory)
            onNoMemory();
        if (outcome != ClipboardText::Outcome::Made)
            return std::nullopt;
        return QString::fromUtf8(utf8);
    }

    std::shared_ptr<const ClipboardText> offered;
    std::function<void()> onNoMemory;
    std::optional<QString> settled;
    bool isSettled = false;
    int calls = 0;
};
