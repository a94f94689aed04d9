#include "pty.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace stripmixer::test {

namespace {

using SteadyClock = std::chrono::steady_clock;

int millisecondsUntil(SteadyClock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

PtyPair::PtyPair()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return;
    char name[128];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0
        || ::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        return;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    // Raw on the board's side too, so bytes pass unchanged before the program configures the
    // port (the line settings live as long as the master does).
    termios settings{};
    if (::tcgetattr(master, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(master, TCSANOW, &settings);
    }
    m_master = master;
    m_slavePath = name;
}

PtyPair::~PtyPair()
{
    closeMaster();
}

bool PtyPair::write(std::string_view bytes)
{
    const auto deadline = SteadyClock::now() + std::chrono::seconds(1);
    while (!bytes.empty() && m_master >= 0) {
        const ssize_t count = ::write(m_master, bytes.data(), bytes.size());
        if (count > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd entry{m_master, POLLOUT, 0};
        if (::poll(&entry, 1, millisecondsUntil(deadline)) == 0)
            return false;
    }
    return bytes.empty();
}

std::string PtyPair::read(std::size_t count, std::chrono::milliseconds timeout)
{
    std::string bytes;
    const auto deadline = SteadyClock::now() + timeout;
    while (bytes.size() < count && m_master >= 0) {
        char buffer[256];
        const std::size_t wanted = std::min(sizeof buffer, count - bytes.size());
        const ssize_t got = ::read(m_master, buffer, wanted);
        if (got > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // EAGAIN: nothing yet. EIO: no slave open at the moment; it may open later.
        const int wait = millisecondsUntil(deadline);
        if (wait == 0)
            break;
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, wait) == 0)
            break;
        if (entry.revents & POLLHUP) {
            // The master reports a hang-up while no slave is open: wait without spinning.
            ::poll(nullptr, 0, std::min(wait, 5));
        }
    }
    return bytes;
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

ComDir::ComDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "stripmixer-com-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        m_path = pattern;
}

ComDir::~ComDir()
{
    if (m_environmentSet) {
        if (m_hadEnvironment)
            ::setenv("STRIPMIXER_COM_DIR", m_previousEnvironment.c_str(), 1);
        else
            ::unsetenv("STRIPMIXER_COM_DIR");
    }
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

std::string ComDir::entry(int number) const
{
    return m_path + "/com" + std::to_string(number);
}

bool ComDir::link(int number, const std::string &target)
{
    unlink(number);
    return ::symlink(target.c_str(), entry(number).c_str()) == 0;
}

void ComDir::unlink(int number)
{
    ::unlink(entry(number).c_str());
}

void ComDir::setEnvironment()
{
    if (!m_environmentSet) {
        const char *previous = std::getenv("STRIPMIXER_COM_DIR");
        m_hadEnvironment = previous != nullptr;
        if (previous)
            m_previousEnvironment = previous;
        m_environmentSet = true;
    }
    ::setenv("STRIPMIXER_COM_DIR", m_path.c_str(), 1);
}

}  // namespace stripmixer::test
