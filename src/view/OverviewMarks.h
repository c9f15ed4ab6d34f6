#pragma once

#include "view/store/StoreTypes.h"

#include <optional>
#include <vector>

// Where the lines a rule matches and the find word's matches are, over a whole log, at the
// resolution of a strip of pixels beside the scroll bar: plain logic, lines in, pixel rows out.
//
// Lines are kept in at most kBins bins of 2^k lines each; when a line beyond the last bin is
// marked, neighbouring bins merge and k grows. Memory stays at about 100 KB however long the
// log is (10M lines or 10G), and a bin is never finer than a line nor coarser than 1/2048 of
// the lines marked. Each bin keeps the lowest rule number marked in it and the first line so
// marked, and the first line with a find match: enough to draw a row in the rule's colour and
// to go to a mark when it is clicked.
class OverviewMarks
{
public:
    static constexpr int kBins = 4096;

    void markRule(LineNo line, int rule);
    void markFind(LineNo line);
    void clearRules();
    void clearFinds();
    void clear();
    // Changes with every mark added or cleared, for drawing only when something changed.
    quint64 version() const { return m_version; }

    struct Row
    {
        int rule = -1; // the lowest rule marked in the row; -1 for none
        qint64 ruleLine = -1; // the first line so marked
        qint64 findLine = -1; // the first line with a find match
        bool isMarked() const { return rule >= 0 || findLine >= 0; }
    };
    // One row per pixel of a strip height pixels high standing for lineCount lines, line n in
    // row n * height / lineCount. A mark in a bin of many lines is drawn where its first
    // marked line falls.
    std::vector<Row> rows(qint64 lineCount, int height) const;

    static int rowOf(LineNo line, qint64 lineCount, int height);
    // The first line shown in a row.
    static LineNo lineOfRow(int row, qint64 lineCount, int height);

private:
    struct Bin
    {
        int rule = -1;
        qint64 ruleLine = -1;
        qint64 findLine = -1;
    };
    Bin &binFor(LineNo line);

    std::vector<Bin> m_bins; // empty until a mark comes
    int m_shift = 0; // a bin holds 2^m_shift lines
    quint64 m_version = 0;
};
