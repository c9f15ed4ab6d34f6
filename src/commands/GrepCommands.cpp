#include "commands/GrepCommands.h"

#include "engine/EngineState.h"
#include "platform/MessageBox.h"

GrepCommands::GrepCommands(EngineState &state, MessageBox &messages)
    : m_state(state)
    , m_messages(messages)
{
}

bool GrepCommands::mnuGrep_Click()
{
    if (!m_state.grepMode && m_state.GrepKeyword.isEmpty()) {
        m_messages.inform(QStringLiteral("検索文字列を指定してください"));
        return m_state.grepMode;
    }
    m_state.grepMode = !m_state.grepMode;
    return m_state.grepMode;
}
