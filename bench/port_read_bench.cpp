// How long the POSIX port's reads and the start-up probe take, and how much CPU a read of
// nothing costs. Prints figures; passes or fails nothing.

#include "fake_host.h"
#include "arduino_nano.h"
#include "com_ports.h"
#include "serial_port_posix.h"
#include "virtual_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace stripmixer;
using SteadyClock = std::chrono::steady_clock;

namespace {

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double msSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

void report(const char *what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples)
        sum += s;
    std::printf("%-44s n=%3zu  min %7.3f  median %7.3f  max %7.3f  mean %7.3f ms\n", what,
                samples.size(), samples.front(), samples[samples.size() / 2], samples.back(),
                sum / samples.size());
}

bool waitForQueued(int fd, int count)
{
    const auto deadline = SteadyClock::now() + std::chrono::seconds(2);
    while (SteadyClock::now() < deadline) {
        int queued = 0;
        if (::ioctl(fd, FIONREAD, &queued) == 0 && queued >= count)
            return true;
        ::poll(nullptr, 0, 1);
    }
    return false;
}

}  // namespace

int main()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char slave[128];
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0
        || ::ptsname_r(master, slave, sizeof slave) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }

    std::string folder = (std::filesystem::temp_directory_path() / "stripmixer-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    ::symlink(slave, (folder + "/com1").c_str());

    PosixSerialPort port{folder};
    int error = 0;
    const PortHandleType handle = port.open(1, error);
    if (handle == kNoPort || port.configure(handle, 115200) || port.setReadTimeouts(handle)) {
        std::fprintf(stderr, "cannot open %s: errno %d\n", slave, error);
        return 1;
    }

    constexpr int kRounds = 50;
    std::uint8_t buffer[20];
    std::size_t received = 0;

    std::vector<double> nothing;
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = SteadyClock::now();
    for (int i = 0; i < kRounds; ++i) {
        const auto start = SteadyClock::now();
        port.read(handle, buffer, sizeof buffer, received);
        nothing.push_back(msSince(start));
    }
    const double cpuNothing = cpuSeconds() - cpuBefore;
    const double wallNothing = msSince(wallBefore);
    report("read of nothing (20 ms total time-out)", nothing);
    std::printf("%-44s %.3f ms CPU over %.1f ms of waiting (%.2f%%)\n", "  CPU while reading nothing",
                cpuNothing * 1000, wallNothing, 100 * cpuNothing * 1000 / wallNothing);

    std::vector<double> answer;
    for (int i = 0; i < kRounds; ++i) {
        if (::write(master, "NP16\r\n", 6) != 6 || !waitForQueued(handle, 6))
            break;
        const auto start = SteadyClock::now();
        port.read(handle, buffer, sizeof buffer, received);
        answer.push_back(msSince(start));
    }
    if (!answer.empty())
        report("read of a waiting 6-byte answer (3 ms gap)", answer);

    std::vector<double> full;
    const std::string twenty(20, 'A');
    for (int i = 0; i < kRounds; ++i) {
        if (::write(master, twenty.data(), 20) != 20 || !waitForQueued(handle, 20))
            break;
        const auto start = SteadyClock::now();
        port.read(handle, buffer, sizeof buffer, received);
        full.push_back(msSince(start));
    }
    if (!full.empty())
        report("read of 20 waiting bytes (buffer full)", full);
    port.close(handle);

    test::FakeHost host;
    VirtualClock clock;
    {
        std::string empty = folder + "/empty";
        std::filesystem::create_directory(empty);
        PosixSerialPort emptyPort{empty};
        ArduinoNano nano{emptyPort, clock, host};
        std::vector<double> probes;
        for (int round = 0; round < 20; ++round) {
            const auto start = SteadyClock::now();
            for (int n = kFirstComNumber; n <= kLastComNumber; ++n)
                nano.PortExists(n);
            probes.push_back(msSince(start));
        }
        report("255 PortExists probes, empty COM folder", probes);
    }
    {
        PosixSerialPort tablePort{""};
        ArduinoNano nano{tablePort, clock, host};
        std::vector<double> probes;
        int found = 0;
        for (int round = 0; round < 20; ++round) {
            found = 0;
            const auto start = SteadyClock::now();
            for (int n = kFirstComNumber; n <= kLastComNumber; ++n)
                found += nano.PortExists(n);
            probes.push_back(msSince(start));
        }
        report("255 PortExists probes, this machine's /dev", probes);
        std::printf("%-44s %d\n", "  ports found in /dev", found);
    }

    std::filesystem::remove_all(folder);
    ::close(master);
    return 0;
}
