#pragma once

class MessageBox;
struct EngineState;

// The grep-mode menu command. The menu's check mark mirrors EngineState::grepMode; the window
// sets the check mark from what mnuGrep_Click returns.
//
// Edge cases: switching on with an empty keyword is refused with a message and the mode stays
// off; switching off is always allowed, even with an empty keyword; a keyword of blanks only
// is a keyword. Nothing already shown is filtered again.
class GrepCommands
{
public:
    GrepCommands(EngineState &state, MessageBox &messages);

    // Flips grep mode unless that would switch it on without a keyword. Returns the mode now
    // in force.
    bool mnuGrep_Click();

private:
    EngineState &m_state;
    MessageBox &m_messages;
};
