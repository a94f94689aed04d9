#include "memory_port.h"

#include <algorithm>
#include <cerrno>

namespace stripmixer {

namespace {
constexpr double kTotalTimeout = kReadTotalTimeoutMs / 1000.0;
constexpr double kIntervalTimeout = kReadIntervalTimeoutMs / 1000.0;
}  // namespace

MemoryPort::MemoryPort(VirtualClock &clock)
    : m_clock(clock)
{
}

void MemoryPort::attach(int comNumber, BoardModel &board)
{
    m_boards[comNumber] = &board;
    m_openErrors.erase(comNumber);
}

void MemoryPort::setOpenError(int comNumber, int error)
{
    m_openErrors[comNumber] = error;
}

void MemoryPort::loseDevice()
{
    if (m_openHandle == kNoPort)
        return;
    m_lost = true;
    m_boards.erase(m_openCom);
}

bool MemoryPort::isStale(PortHandleType handle)
{
    if (handle != kNoPort && handle == m_openHandle)
        return false;
    ++m_staleUses;
    return true;
}

PortHandleType MemoryPort::open(int comNumber, int &error)
{
    error = 0;
    if (auto it = m_openErrors.find(comNumber); it != m_openErrors.end()) {
        error = it->second;
        return kNoPort;
    }
    auto it = m_boards.find(comNumber);
    if (it == m_boards.end()) {
        error = ENOENT;
        return kNoPort;
    }
    if (m_openHandle != kNoPort) {
        // Opened exclusively: a second open, even by the same program, is refused.
        error = EBUSY;
        return kNoPort;
    }
    m_board = it->second;
    m_openHandle = m_nextHandle++;
    m_openCom = comNumber;
    m_lost = false;
    ++m_opens;
    return m_openHandle;
}

int MemoryPort::configure(PortHandleType handle, std::uint32_t baudRate)
{
    if (isStale(handle))
        return EBADF;
    if (m_lost)
        return EIO;
    if (m_configureError != 0)
        return m_configureError;
    m_baudRate = baudRate;
    return 0;
}

int MemoryPort::setReadTimeouts(PortHandleType handle)
{
    if (isStale(handle))
        return EBADF;
    if (m_lost)
        return EIO;
    return m_timeoutsError;
}

int MemoryPort::write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
                      std::size_t &written)
{
    written = 0;
    if (isStale(handle))
        return EBADF;
    if (m_lost)
        return EIO;
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    m_written += bytes;
    m_board->receive(bytes, m_clock.now());
    written = size;
    return 0;
}

int MemoryPort::read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
                     std::size_t &received)
{
    received = 0;
    if (isStale(handle))
        return EBADF;
    if (m_lost)
        return EIO;

    const double start = m_clock.now();
    const double deadline = start + kTotalTimeout;
    double end = deadline;
    double last = start;
    while (received < capacity) {
        const std::optional<double> next = m_board->nextOutputTime();
        if (!next || *next > deadline || (received > 0 && *next > last + kIntervalTimeout))
            break;
        last = std::max(start, *next);
        const std::string byte = m_board->takeOutput(last, 1);
        if (byte.empty())
            break;
        buffer[received++] = static_cast<std::uint8_t>(byte[0]);
    }
    if (received == capacity)
        end = last;
    else if (received > 0)
        end = std::min(last + kIntervalTimeout, deadline);
    m_clock.advance(end - m_clock.now());
    m_board->advance(m_clock.now());
    return 0;
}

void MemoryPort::close(PortHandleType handle)
{
    if (isStale(handle))
        return;
    m_openHandle = kNoPort;
    m_board = nullptr;
    m_lost = false;
    ++m_closes;
}

std::string MemoryPort::deviceName(int comNumber) const
{
    if (m_boards.count(comNumber) || m_openErrors.count(comNumber))
        return "simulated board on Com " + std::to_string(comNumber);
    return "";
}

}  // namespace stripmixer
