#pragma once

// The serial port on Windows: \\.\COMN opened without sharing, a DCB for the line settings and
// COMMTIMEOUTS for the two read time-outs.

#include "serial_port.h"

#include <string>

namespace stripmixer {

class Win32SerialPort : public SerialPort {
public:
    Win32SerialPort() = default;

    PortHandleType open(int comNumber, int &error) override;
    int configure(PortHandleType handle, std::uint32_t baudRate) override;
    int setReadTimeouts(PortHandleType handle) override;
    int write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
              std::size_t &written) override;
    int read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
             std::size_t &received) override;
    void close(PortHandleType handle) override;
    std::string deviceName(int comNumber) const override;
};

}  // namespace stripmixer
