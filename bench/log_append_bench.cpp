// What one log entry costs when the log is short and when it is long. The log is appended to,
// never rebuilt, so the two figures should be about the same.

#include "memory_port.h"
#include "strip_mixer.h"
#include "virtual_clock.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <string>

using namespace stripmixer;

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds per entry over `count` entries, frames and answers alternating as on the wire.
double timeEntries(StripMixer &window, int count)
{
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        window.appendToLog(i % 2 ? "NP16\r\n" : "91/");
    QApplication::processEvents();
    const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
    return spent.count() / count;
}

void fillTo(StripMixer &window, int &entries, int target)
{
    while (entries < target) {
        window.appendToLog(entries % 2 ? "NP16\r\n" : "91/");
        ++entries;
        if (entries % 1000 == 0)
            QApplication::processEvents();
    }
}

struct Figures {
    double shortLog;
    double longLog;
};

// With `shown`, the window is on screen; `wide`, the log panel shows and every entry is
// painted at once.
Figures measure(bool shown, bool wide)
{
    VirtualClock clock;
    MemoryPort port(clock);
    StripMixer window(port, clock);
    if (wide)
        window.setFixedWidth(StripMixer::kWideWidth);
    if (shown)
        window.show();
    QApplication::processEvents();

    constexpr int kSample = 1000;
    int entries = 0;
    fillTo(window, entries, 10);
    Figures figures{};
    figures.shortLog = timeEntries(window, kSample);
    entries += kSample;

    // Filling while hidden only saves the benchmark's time; the sample is taken as chosen.
    window.hide();
    fillTo(window, entries, 100000);
    if (shown)
        window.show();
    QApplication::processEvents();
    figures.longLog = timeEntries(window, kSample);
    return figures;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const Figures text = measure(false, true);
    const Figures compact = measure(true, false);
    const Figures painted = measure(true, true);
    std::printf("log append, microseconds per entry (1000 entries per sample)\n");
    std::printf("                         at 10 entries   at 100,000 entries\n");
    std::printf("  text only (hidden)     %13.1f   %18.1f\n", text.shortLog, text.longLog);
    std::printf("  shown, panel hidden    %13.1f   %18.1f\n", compact.shortLog, compact.longLog);
    std::printf("  shown, panel painted   %13.1f   %18.1f\n", painted.shortLog, painted.longLog);
    return 0;
}
