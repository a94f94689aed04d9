#pragma once

// The serial port on Linux and other POSIX systems: termios for the line settings, poll() for
// the two read time-outs and flock() so that two programs never share a port.

#include "serial_port.h"

#include <string>

namespace stripmixer {

class PosixSerialPort : public SerialPort {
public:
    // Com numbers are looked up in STRIPMIXER_COM_DIR (read at each open) or the fixed table.
    PosixSerialPort() = default;
    // Com numbers are the entries comN of `comDir` ("" means the fixed table).
    explicit PosixSerialPort(std::string comDir);

    PortHandleType open(int comNumber, int &error) override;
    int configure(PortHandleType handle, std::uint32_t baudRate) override;
    int setReadTimeouts(PortHandleType handle) override;
    int write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
              std::size_t &written) override;
    int read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
             std::size_t &received) override;
    void close(PortHandleType handle) override;
    std::string deviceName(int comNumber) const override;

    // How long a write may wait for room in the output queue before it gives up.
    static constexpr int kWriteTimeoutMs = 1000;

private:
    std::string devicePath(int comNumber) const;

    bool m_useEnvironment = true;
    std::string m_comDir;
};

}  // namespace stripmixer
