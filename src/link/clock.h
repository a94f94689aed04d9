#pragma once

// All waiting goes through here, so tests can run on virtual time.

namespace stripmixer {

class Clock {
public:
    virtual ~Clock() = default;

    // Blocks until `seconds` have passed; window events wait.
    virtual void Pause(double seconds) = 0;

    // Waits `seconds` while pending window events run.
    virtual void PauseWithEvents(double seconds) = 0;

    // Runs the window events that are pending now and returns.
    virtual void processEvents() = 0;
};

}  // namespace stripmixer
