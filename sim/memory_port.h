#pragma once

// The link's port interface over BoardModel, on virtual time. Writes reach the model at once;
// a read returns what the model has sent by the clock's time, with the read time-outs'
// semantics (and moves the clock on by as long as the read would take).

#include "board_model.h"
#include "serial_port.h"
#include "virtual_clock.h"

#include <cstdint>
#include <map>
#include <string>

namespace stripmixer {

class MemoryPort : public SerialPort {
public:
    explicit MemoryPort(VirtualClock &clock);

    // Com `comNumber` exists and has `board` behind it.
    void attach(int comNumber, BoardModel &board);
    // Com `comNumber` exists but opening it fails with `error` (EBUSY, EACCES, ...).
    void setOpenError(int comNumber, int error);
    // The next configure / setReadTimeouts fails with `error` (0: succeed again).
    void setConfigureError(int error) { m_configureError = error; }
    void setTimeoutsError(int error) { m_timeoutsError = error; }
    // The device vanishes: every later use of the open handle but close fails with EIO, and
    // opening its Com again fails with ENOENT until it is attached again.
    void loseDevice();

    // What the program did to the port.
    bool isOpen() const { return m_openHandle != kNoPort; }
    std::uint32_t baudRate() const { return m_baudRate; }
    int opens() const { return m_opens; }
    int closes() const { return m_closes; }
    // Any use of a handle that is not the open one (a closed handle written, read or closed).
    int staleHandleUses() const { return m_staleUses; }
    std::string written() const { return m_written; }  // every byte written, in order

    PortHandleType open(int comNumber, int &error) override;
    int configure(PortHandleType handle, std::uint32_t baudRate) override;
    int setReadTimeouts(PortHandleType handle) override;
    int write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
              std::size_t &written) override;
    int read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
             std::size_t &received) override;
    void close(PortHandleType handle) override;
    std::string deviceName(int comNumber) const override;

private:
    VirtualClock &m_clock;
    std::map<int, BoardModel *> m_boards;
    std::map<int, int> m_openErrors;
    BoardModel *m_board = nullptr;
    PortHandleType m_openHandle = kNoPort;
    PortHandleType m_nextHandle = 3;
    std::uint32_t m_baudRate = 0;
    int m_configureError = 0;
    int m_timeoutsError = 0;
    bool m_lost = false;
    int m_opens = 0;
    int m_closes = 0;
    int m_staleUses = 0;
    int m_openCom = 0;
    std::string m_written;

    bool isStale(PortHandleType handle);
};

}  // namespace stripmixer
