#pragma once

#include <QString>

class IncrementalReader;
class LogView;
struct EngineState;

// Shows what the reader found for one watched file at the end of the log view.
//
// New text always goes to the very end: a caret or selection the user left elsewhere is
// dropped first, but a read that brings nothing leaves caret, selection and scrolling alone.
// Each read becomes one insertion, CR turned into CR LF.
//
// Grep mode tests every piece between two CRs on its own, so a line that arrives in two reads
// is tested as two parts and a part without the keyword is lost; empty pieces never show; an
// empty keyword shows nothing. Filtered lines are consumed all the same: the read position
// moves past them and they are never shown later, not even when grep mode is switched off.
class LogAppender
{
public:
    LogAppender(IncrementalReader &reader, const EngineState &state, LogView &view);

    // Reads entry lngIndex and shows its new text. False when the read failed: nothing was
    // inserted then and the read position is as it was before the read.
    bool readLog2(int lngIndex);

    // The text to insert for new text T (CR as its only line end) under the grep settings.
    static QString textForView(const QString &newText, bool grepMode, const QString &keyword);

private:
    IncrementalReader &m_reader;
    const EngineState &m_state;
    LogView &m_view;
};
