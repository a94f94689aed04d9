#include "qt_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace stripmixer {

namespace {

using Steady = std::chrono::steady_clock;

// NaN, negative and zero waits end at once; absurdly long ones are capped at a day.
Steady::time_point deadlineAfter(double seconds)
{
    if (!(seconds > 0))
        return Steady::now();
    const double capped = std::min(seconds, 86400.0);
    return Steady::now()
           + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(capped));
}

}  // namespace

void QtClock::Pause(double seconds)
{
    std::this_thread::sleep_until(deadlineAfter(seconds));
}

void QtClock::PauseWithEvents(double seconds)
{
    const auto deadline = deadlineAfter(seconds);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A timer may fire a little before the deadline; wait again for what is left.
    for (auto now = Steady::now(); now < deadline; now = Steady::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        timer.start(std::chrono::milliseconds(std::max<std::chrono::milliseconds::rep>(1, left.count())));
        // While the application is quitting, event loops refuse to run: sleep instead of spinning.
        if (loop.exec() != 0) {
            std::this_thread::sleep_until(deadline);
            return;
        }
    }
}

void QtClock::processEvents()
{
    QCoreApplication::processEvents();
}

}  // namespace stripmixer
