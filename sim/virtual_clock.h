#pragma once

// Time that moves only when the program waits: a 10-second effect run takes milliseconds.

#include "clock.h"

#include <functional>
#include <map>

namespace stripmixer {

class VirtualClock : public Clock {
public:
    double now() const { return m_now; }

    // Moves time on without running events (what a blocking wait does).
    void advance(double seconds);

    void Pause(double seconds) override;
    void PauseWithEvents(double seconds) override;
    void processEvents() override;

    // Runs `action` at the first event-processing point at or after `time` (a user's click that
    // waits in the event queue, say).
    void at(double time, std::function<void()> action);

    // Called at every event-processing point after the scheduled actions (e.g. Qt's
    // processEvents in widget tests).
    void setEventHook(std::function<void()> hook) { m_eventHook = std::move(hook); }

    int pausesWithEvents() const { return m_pausesWithEvents; }

private:
    double m_now = 0.0;
    std::multimap<double, std::function<void()>> m_actions;
    std::function<void()> m_eventHook;
    int m_pausesWithEvents = 0;
};

}  // namespace stripmixer
