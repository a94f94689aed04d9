// The real clock: which waits let window events run. These run in real time, for a few
// hundredths of a second each.

#include "qt_clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>

using stripmixer::QtClock;

namespace {

TEST(QtClock, PauseWithEventsRunsWhatIsPendingAndWhatFallsDue)
{
    QtClock clock;
    bool pending = false, due = false;
    QTimer::singleShot(0, [&] { pending = true; });
    QTimer::singleShot(10, [&] { due = true; });
    clock.PauseWithEvents(0.05);
    EXPECT_TRUE(pending);
    EXPECT_TRUE(due);
}

TEST(QtClock, PauseLetsNoEventRun)
{
    QtClock clock;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    clock.Pause(0.02);
    EXPECT_FALSE(ran);
    clock.processEvents();
    EXPECT_TRUE(ran);
}

// A handler that runs inside a wait may wait itself; both waits end.
TEST(QtClock, NestedWaitsBothEnd)
{
    QtClock clock;
    bool innerDone = false;
    QTimer::singleShot(0, [&] {
        clock.PauseWithEvents(0.03);
        innerDone = true;
    });
    clock.PauseWithEvents(0.01);
    EXPECT_TRUE(innerDone);
}

TEST(QtClock, WaitsOfNothingEndAtOnce)
{
    QtClock clock;
    const double nothing[] = {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()};
    for (double seconds : nothing) {
        clock.Pause(seconds);
        clock.PauseWithEvents(seconds);
    }
    SUCCEED();
}

}  // namespace
