#include "serial_port_posix.h"

#include "com_ports.h"

// The kernel's own termios2 carries any baud rate (BOTHER). Its definitions clash with
// <termios.h>, so this file uses them alone and never includes <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stripmixer {

bool SystemErrors::isMissingDevice(int error)
{
    return error == ENOENT || error == ENODEV || error == ENXIO;
}

bool SystemErrors::isInUse(int error)
{
    return error == EBUSY;
}

bool SystemErrors::isPermissionDenied(int error)
{
    return error == EACCES || error == EPERM;
}

bool SystemErrors::isDeviceGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV;
}

namespace {

using SteadyClock = std::chrono::steady_clock;

// poll() counts whole milliseconds: round up so a wait never ends before its deadline.
int millisecondsUntil(SteadyClock::time_point deadline)
{
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

// Raw bytes both ways as cfmakeraw() sets them, 8N1, no flow control, and reads that return at
// once (read() keeps the time-outs itself with poll()).
void makeRaw(termios2 &settings)
{
    settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                          IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~OPOST;
    settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
}

bool isTerminal(int fd)
{
    termios2 settings{};
    return ::ioctl(fd, TCGETS2, &settings) == 0;
}

}  // namespace

PosixSerialPort::PosixSerialPort(std::string comDir)
    : m_useEnvironment(false), m_comDir(std::move(comDir))
{
}

std::string PosixSerialPort::devicePath(int comNumber) const
{
    return m_useEnvironment ? comDevicePath(comNumber) : comDevicePath(comNumber, m_comDir);
}

PortHandleType PosixSerialPort::open(int comNumber, int &error)
{
    error = 0;
    const std::string path = devicePath(comNumber);
    if (path.empty()) {
        error = ENOENT;
        return kNoPort;
    }

    // The start-up probe asks for 255 ports: most have no device, and a stat costs far less
    // than an open.
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) {
        error = errno;
        return kNoPort;
    }
    if (!S_ISCHR(info.st_mode)) {
        error = ENODEV;
        return kNoPort;
    }

    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A serial node without a UART behind it (most of /dev/ttyS*) refuses with EIO.
        error = errno == EIO ? ENODEV : errno;
        return kNoPort;
    }
    if (!isTerminal(fd)) {
        ::close(fd);
        error = ENODEV;
        return kNoPort;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        ::close(fd);
        error = lockError == EWOULDBLOCK ? EBUSY : lockError;
        return kNoPort;
    }
    // Also keep out programs that do not take the lock; not every tty supports it.
    ::ioctl(fd, TIOCEXCL);
    // A freshly opened port starts empty, as it does on real hardware: a pseudo-terminal keeps
    // whatever was written to it while nobody listened.
    ::ioctl(fd, TCFLSH, TCIOFLUSH);
    return fd;
}

int PosixSerialPort::configure(PortHandleType handle, std::uint32_t baudRate)
{
    if (handle < 0)
        return EBADF;
    if (baudRate == 0)
        return EINVAL;  // rate 0 means "hang up" to the kernel

    termios2 settings{};
    if (::ioctl(handle, TCGETS2, &settings) != 0)
        return errno;

    makeRaw(settings);
    // The rate given as a number rather than a B-constant.
    settings.c_cflag &= ~(CBAUD | CIBAUD);
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = baudRate;
    settings.c_ospeed = baudRate;
    if (::ioctl(handle, TCSETS2, &settings) != 0)
        return errno;

    // A UART that cannot make the rate silently takes the nearest it can. Within 3% the board
    // still understands it; further off, say so instead of talking past each other.
    termios2 applied{};
    if (::ioctl(handle, TCGETS2, &applied) != 0)
        return errno;
    const double ratio = static_cast<double>(applied.c_ospeed) / baudRate;
    if (ratio < 0.97 || ratio > 1.03)
        return EINVAL;
    return 0;
}

int PosixSerialPort::setReadTimeouts(PortHandleType handle)
{
    if (handle < 0)
        return EBADF;
    // Raw again, whatever the rate setting did: a port whose rate was refused must still not
    // echo, translate line ends or wait for whole lines. The rate itself is left alone.
    termios2 settings{};
    if (::ioctl(handle, TCGETS2, &settings) != 0)
        return errno;
    makeRaw(settings);
    if (::ioctl(handle, TCSETS2, &settings) != 0)
        return errno;
    return 0;
}

int PosixSerialPort::write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
                           std::size_t &written)
{
    written = 0;
    if (handle < 0)
        return EBADF;

    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    bool wokenForRoom = false;
    while (written < size) {
        const ssize_t count = ::write(handle, data + written, size - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
            wokenForRoom = false;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return errno;

        // Woken for room that was not there: pace the retries rather than spin.
        if (wokenForRoom)
            ::poll(nullptr, 0, 1);
        // The output queue is full: wait for room, but not for ever.
        wokenForRoom = true;
        pollfd entry{handle, POLLOUT, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready < 0 && errno != EINTR)
            return errno;
        if (ready == 0)
            return ETIMEDOUT;
        if (entry.revents & (POLLERR | POLLHUP | POLLNVAL))
            return EIO;
    }
    return 0;
}

int PosixSerialPort::read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
                          std::size_t &received)
{
    received = 0;
    if (handle < 0)
        return EBADF;

    // Up to kReadTotalTimeoutMs for the whole read, and kReadIntervalTimeoutMs after each byte.
    const auto totalDeadline =
        SteadyClock::now() + std::chrono::milliseconds(kReadTotalTimeoutMs);
    auto deadline = totalDeadline;
    while (received < capacity) {
        pollfd entry{handle, POLLIN, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return received > 0 ? 0 : errno;
        }
        if (ready == 0)
            break;
        // A handle that names no open file can never be read again: the same as a lost device.
        if (entry.revents & POLLNVAL)
            return received > 0 ? 0 : EIO;

        // Read even on a hang-up: bytes that came before it are still queued.
        const ssize_t count = ::read(handle, buffer + received, capacity - received);
        if (count > 0) {
            received += static_cast<std::size_t>(count);
            deadline = std::min(totalDeadline, SteadyClock::now() +
                                                   std::chrono::milliseconds(kReadIntervalTimeoutMs));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // With VMIN 0 the tty answers "nothing" with 0 rather than EAGAIN; only a hang-up
        // makes that the end of the line.
        if (count == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
            if (entry.revents & (POLLHUP | POLLERR))
                return received > 0 ? 0 : EIO;
            break;  // woken for nothing: end here rather than spin on it
        }
        // Hand over what came first; the next read reports the failure.
        return received > 0 ? 0 : errno;
    }
    return 0;
}

void PosixSerialPort::close(PortHandleType handle)
{
    if (handle < 0)
        return;
    // The exclusive flag belongs to the tty, not to this descriptor: give it back.
    ::ioctl(handle, TIOCNXCL);
    ::close(handle);
}

std::string PosixSerialPort::deviceName(int comNumber) const
{
    const std::string path = devicePath(comNumber);
    if (path.empty())
        return {};

    // A COM folder entry is usually a link: the device it names tells the user more.
    struct stat info{};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0)
        return path;
    target[length] = '\0';
    if (target[0] == '/')
        return target;
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result = resolved;
    std::free(resolved);
    return result;
}

}  // namespace stripmixer
