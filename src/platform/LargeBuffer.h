#pragma once

#include <QtGlobal>

// Asks the system to back a large, not yet touched buffer with huge pages. A flood or a first
// read of a big log fills buffers of hundreds of megabytes, and faulting them in 4 KiB pages
// costs more than decoding them. Small buffers and systems without the facility are left
// alone; it is only advice, nothing depends on it being taken.
void adviseLargeBuffer(void *data, qint64 bytes);
