// How much CPU stripmixer-board uses while nothing happens, and how fast it answers.
//
//   board_idle_bench [path to stripmixer-board, "" for the one built beside it] [seconds per phase]
//
// Starts the board on a fresh folder, then reads its CPU time (/proc/<pid>/stat, utime+stime)
// over idle phases: no client, a client connected but silent, and after the client has gone;
// for comparison also while an effect plays, with and without the strip view. Prints figures;
// never fails on time.

#include "read_answers.h"
#include "serial_port_posix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace stripmixer;
using SteadyClock = std::chrono::steady_clock;

namespace {

// CPU seconds the process has used so far, or -1.
double cpuSeconds(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return -1;
    // Fields after the command name, which sits in parentheses and may hold blanks.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    std::vector<std::string> fields;
    while (rest >> field)
        fields.push_back(field);
    if (fields.size() < 13)
        return -1;
    const double ticks = std::stod(fields[11]) + std::stod(fields[12]);  // utime, stime
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Times the process has gone to sleep and woken up, summed over its threads: finer than the
// CPU time's 10 ms ticks for telling "asleep" from "wakes up now and then".
long wakeUps(qint64 pid)
{
    long total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::ifstream status(tasks.filePath(task).toStdString() + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                total += std::stol(line.substr(line.find(':') + 1));
    }
    return total;
}

void measure(const char *phase, qint64 pid, double seconds)
{
    const double before = cpuSeconds(pid);
    const long wakesBefore = wakeUps(pid);
    const auto start = SteadyClock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(SteadyClock::now() - start).count();
    const double used = cpuSeconds(pid) - before;
    std::printf("%-36s %5.2f s CPU in %5.2f s (%5.2f %%), %5.1f wake-ups/s\n", phase, used, wall,
                100 * used / wall, (wakeUps(pid) - wakesBefore) / wall);
}

bool waitFor(const QString &path, double seconds)
{
    const auto deadline = SteadyClock::now() + std::chrono::duration<double>(seconds);
    while (SteadyClock::now() < deadline) {
        if (QFileInfo::exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string exchange(SerialPort &port, PortHandleType handle, const std::string &frame,
                     std::chrono::milliseconds bound = std::chrono::seconds(5))
{
    std::size_t written = 0;
    port.write(handle, reinterpret_cast<const std::uint8_t *>(frame.data()), frame.size(), written);
    return test::readAnswers(port, handle, 1, bound);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString board = argc > 1 && argv[1][0] ? QString::fromLocal8Bit(argv[1])
                                   : QCoreApplication::applicationDirPath() + "/../sim/stripmixer-board";
    const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 5.0;

    for (const bool view : {false, true}) {
        QTemporaryDir dir;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{"--com-dir", dir.path(), "--com", "7"};
        if (view) {
            arguments << "--view";
            if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
                process.setEnvironment(QProcess::systemEnvironment() << "QT_QPA_PLATFORM=offscreen");
        }
        process.start(board, arguments);
        if (!process.waitForStarted(10000) || !waitFor(dir.path() + "/com7", 10)) {
            std::fprintf(stderr, "board_idle_bench: cannot start %s\n", qPrintable(board));
            return 1;
        }
        const qint64 pid = process.processId();
        std::printf("\nstripmixer-board%s (pid %lld), %.0f s per phase\n", view ? " --view" : "",
                    static_cast<long long>(pid), seconds);

        measure("idle, no client", pid, seconds);

        PosixSerialPort port(dir.path().toStdString());
        int error = 0;
        const PortHandleType handle = port.open(7, error);
        if (handle == kNoPort) {
            std::fprintf(stderr, "board_idle_bench: cannot open Com 7 (error %d)\n", error);
            return 1;
        }
        port.configure(handle, 115200);
        port.setReadTimeouts(handle);

        // Round trip of "90/": write to the whole answer read.
        std::vector<double> trips;
        for (int i = 0; i < 50; ++i) {
            const auto start = SteadyClock::now();
            const std::string answer = exchange(port, handle, "90/");
            const double ms = std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
            if (answer == "AC\r\n")
                trips.push_back(ms);
        }
        std::sort(trips.begin(), trips.end());
        if (!trips.empty())
            std::printf("%-36s median %.2f ms, worst %.2f ms (%zu of 50)\n", "\"90/\" answered", trips[trips.size() / 2],
                        trips.back(), trips.size());

        measure("idle, a client connected", pid, seconds);

        exchange(port, handle, "80/450/");
        std::size_t written = 0;
        port.write(handle, reinterpret_cast<const std::uint8_t *>("6/"), 2, written);  // Rainbow, ~3.6 s
        measure("while Rainbow plays (3.6 s)", pid, std::min(seconds, 3.0));
        exchange(port, handle, "", std::chrono::seconds(5));

        port.close(handle);
        measure("idle, after the client has gone", pid, seconds);

        process.terminate();
        process.waitForFinished(5000);
    }
    return 0;
}
