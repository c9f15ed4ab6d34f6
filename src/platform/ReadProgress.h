#pragma once

#include <QString>

// Tells the user how far a long read has come (the whole content of a file read at start-up).
// Implementations show nothing for a read that ends quickly.
class ReadProgress
{
public:
    virtual ~ReadProgress() = default;
    // done of total bytes of the named file have been read; called again as the read goes on.
    virtual void update(const QString &fileName, qint64 done, qint64 total) = 0;
    // The read of that file has ended, however it ended.
    virtual void finish() = 0;
};
