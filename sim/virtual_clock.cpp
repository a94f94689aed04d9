#include "virtual_clock.h"

namespace stripmixer {

void VirtualClock::advance(double seconds)
{
    if (seconds > 0)
        m_now += seconds;
}

void VirtualClock::Pause(double seconds)
{
    advance(seconds);
}

void VirtualClock::PauseWithEvents(double seconds)
{
    ++m_pausesWithEvents;
    // Events run while the wait goes on: let each scheduled action happen at its own time.
    const double end = m_now + (seconds > 0 ? seconds : 0);
    while (!m_actions.empty() && m_actions.begin()->first <= end) {
        if (m_actions.begin()->first > m_now)
            m_now = m_actions.begin()->first;
        processEvents();
    }
    m_now = end;
    processEvents();
}

void VirtualClock::processEvents()
{
    // An action may wait and schedule more; take each one out before running it.
    while (!m_actions.empty() && m_actions.begin()->first <= m_now) {
        auto action = std::move(m_actions.begin()->second);
        m_actions.erase(m_actions.begin());
        action();
    }
    if (m_eventHook)
        m_eventHook();
}

void VirtualClock::at(double time, std::function<void()> action)
{
    m_actions.emplace(time, std::move(action));
}

}  // namespace stripmixer
