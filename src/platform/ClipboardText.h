#pragma once

#include <QByteArray>
#include <QtGlobal>

// Tells the user how far a long piece of work has come and lets them stop it. Implementations
// keep the window answering while the work goes on and show nothing for work that ends soon.
class WorkProgress
{
public:
    virtual ~WorkProgress() = default;
    // done of total units are finished; false once the user has asked to stop.
    virtual bool update(qint64 done, qint64 total) = 0;
};

// Text for the clipboard that is made only when a program asks for it: a selection of days of
// log runs to gigabytes, and most copies are pasted once, if at all.
class ClipboardText
{
public:
    enum class Outcome {
        Made,
        Cancelled, // the user stopped it
        NoMemory, // the text does not fit in the memory left
        Gone, // what it was made from is no more (the view was cleared or closed)
    };

    virtual ~ClipboardText() = default;
    // Makes the text, UTF-8 with the desktop's line ends, into utf8 (emptied first). On any
    // outcome but Made, utf8 is left empty.
    virtual Outcome make(QByteArray &utf8, WorkProgress &progress) const = 0;
};
