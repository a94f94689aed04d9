#pragma once

// The serial port as the link needs it, and no more. Every failure comes back as the system's
// error number (errno on POSIX, GetLastError() on Windows); nothing throws across this line.

#include <cstddef>
#include <cstdint>
#include <string>

namespace stripmixer {

using PortHandleType = std::int32_t;
inline constexpr PortHandleType kNoPort = -1;

// Read time-outs of every open port: a read returns when its buffer is full, when this long
// passes after a byte with no next byte, or when the total has passed.
inline constexpr int kReadIntervalTimeoutMs = 3;
inline constexpr int kReadTotalTimeoutMs = 20;

// Numbers the platform uses for the failures the window words specially.
struct SystemErrors {
    static bool isMissingDevice(int error);  // shown as "The serial port does not exist"
    static bool isInUse(int error);          // shown as "The serial port is used by another program"
    static bool isPermissionDenied(int error);
    static bool isDeviceGone(int error);     // the device vanished under an open port
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens Com `comNumber` for reading and writing, exclusively. Returns the handle, or kNoPort
    // with `error` set.
    virtual PortHandleType open(int comNumber, int &error) = 0;

    // 8 data bits, no parity, one stop bit, raw bytes, no flow control, at `baudRate`.
    // Returns 0 or the error number.
    virtual int configure(PortHandleType handle, std::uint32_t baudRate) = 0;

    // Applies kReadIntervalTimeoutMs and kReadTotalTimeoutMs. Returns 0 or the error number.
    virtual int setReadTimeouts(PortHandleType handle) = 0;

    // Returns 0 or the error number; `written` tells how many bytes went out.
    virtual int write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
                      std::size_t &written) = 0;

    // Reads up to `capacity` bytes under the read time-outs. Returns 0 (with `received` 0 when
    // nothing came) or the error number.
    virtual int read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
                     std::size_t &received) = 0;

    virtual void close(PortHandleType handle) = 0;

    // The device Com `comNumber` stands for, for showing to the user ("" when none).
    virtual std::string deviceName(int comNumber) const = 0;
};

}  // namespace stripmixer
