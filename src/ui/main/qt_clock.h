#pragma once

// The real clock: deadlines on the monotonic clock, and the process sleeps while it waits.

#include "clock.h"

namespace stripmixer {

class QtClock : public Clock {
public:
    void Pause(double seconds) override;
    void PauseWithEvents(double seconds) override;
    void processEvents() override;
};

}  // namespace stripmixer
