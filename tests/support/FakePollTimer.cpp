#include "FakePollTimer.h"

bool FakePollTimer::tick()
{
    if (!m_enabled || !m_onTick)
        return false;
    m_onTick();
    return true;
}
