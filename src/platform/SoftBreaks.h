#pragma once

#include <QString>

#include <vector>

// Breaks that the log view puts into overlong lines for display only.
//
// A text layout shapes a whole paragraph at once: one line of 20 MB (a binary file, a dump
// without line ends) would freeze the window for many seconds and use a gigabyte. So a line
// longer than kMaxLine characters is shown as several paragraphs, the later ones marked here
// as continuations. They are not line ends: the view's text, its offsets, copying and finding
// all see the line whole.
//
// Edge cases: a surrogate pair is never split; CR LF, lone CR and lone LF each end one line;
// insertions other than at the end (which the program never makes) only shift the marks.
class SoftBreaks
{
public:
    static constexpr qsizetype kMaxLine = 4096;

    bool isEmpty() const { return m_continuations.empty(); }
    qsizetype count() const { return qsizetype(m_continuations.size()); }
    void clear() { m_continuations.clear(); }

    // Number of continuation paragraphs with a number up to and including block.
    qsizetype countUpTo(int block) const;
    bool isContinuation(int block) const;

    // The text to insert at the end of a view whose last line already holds currentLength
    // characters and is paragraph number lastBlock: line breaks added where lines get too
    // long, each recorded. Returns the text unchanged (and records nothing) when no line
    // would be too long, which is the common case and costs one scan.
    QString split(const QString &text, qsizetype currentLength, int lastBlock);

    // An insertion elsewhere added paragraphs after block: later marks move with them.
    void shiftAfter(int block, int added);

private:
    std::vector<int> m_continuations; // ascending paragraph numbers
};
