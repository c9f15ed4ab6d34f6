#include "platform/SoftBreaks.h"

#include <algorithm>

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

qsizetype SoftBreaks::countUpTo(int block) const
{
    return std::upper_bound(m_continuations.begin(), m_continuations.end(), block)
        - m_continuations.begin();
}

bool SoftBreaks::isContinuation(int block) const
{
    return std::binary_search(m_continuations.begin(), m_continuations.end(), block);
}

QString SoftBreaks::split(const QString &text, qsizetype currentLength, int lastBlock)
{
    // One scan to see whether any line would grow too long.
    qsizetype length = currentLength;
    bool tooLong = false;
    for (const QChar c : text) {
        length = isLineEnd(c) ? 0 : length + 1;
        if (length > kMaxLine) {
            tooLong = true;
            break;
        }
    }
    if (!tooLong)
        return text;

    QString out;
    out.reserve(text.size() + text.size() / kMaxLine + 1);
    length = currentLength;
    int block = lastBlock;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineEnd(c)) {
            out += c;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                out += text.at(++i); // CR LF is one line end
            ++block;
            length = 0;
            continue;
        }
        if (length >= kMaxLine && !c.isLowSurrogate()) {
            out += u'\n';
            ++block;
            m_continuations.push_back(block);
            length = 0;
        }
        out += c;
        ++length;
    }
    return out;
}

void SoftBreaks::shiftAfter(int block, int added)
{
    for (int &continuation : m_continuations) {
        if (continuation > block)
            continuation += added;
    }
}
