#include "serial_port_win32.h"

#include "com_ports.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace stripmixer {

// A port in use and a port that has just been unplugged both answer "access denied"; which one
// is meant depends on whether the port was open already.
bool SystemErrors::isMissingDevice(int error)
{
    return error == ERROR_FILE_NOT_FOUND;
}

bool SystemErrors::isInUse(int error)
{
    return error == ERROR_ACCESS_DENIED;
}

bool SystemErrors::isPermissionDenied(int)
{
    return false;  // a COM port has no permissions of its own; refusal means "in use"
}

bool SystemErrors::isDeviceGone(int error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return true;
    default:
        return false;
    }
}

namespace {

// Windows keeps handles within 32 bits so that they can cross between 32- and 64-bit code.
HANDLE toHandle(PortHandleType handle)
{
    return LongToHandle(static_cast<long>(handle));
}

PortHandleType fromHandle(HANDLE handle)
{
    return static_cast<PortHandleType>(HandleToLong(handle));
}

int lastError()
{
    return static_cast<int>(::GetLastError());
}

}  // namespace

PortHandleType Win32SerialPort::open(int comNumber, int &error)
{
    error = 0;
    const std::string path = comDevicePath(comNumber);
    if (path.empty()) {
        error = ERROR_FILE_NOT_FOUND;
        return kNoPort;
    }
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = lastError();
        return kNoPort;
    }
    return fromHandle(handle);
}

int Win32SerialPort::configure(PortHandleType handle, std::uint32_t baudRate)
{
    if (handle == kNoPort)
        return ERROR_INVALID_HANDLE;
    if (baudRate == 0)
        return ERROR_INVALID_PARAMETER;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(toHandle(handle), &dcb))
        return lastError();

    dcb.BaudRate = baudRate;
    // Binary mode, and every kind of flow control, checking and substitution off.
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = FALSE;
    dcb.fDummy2 = 0;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!::SetCommState(toHandle(handle), &dcb))
        return lastError();
    return 0;
}

int Win32SerialPort::setReadTimeouts(PortHandleType handle)
{
    if (handle == kNoPort)
        return ERROR_INVALID_HANDLE;
    COMMTIMEOUTS timeouts{};
    if (!::GetCommTimeouts(toHandle(handle), &timeouts))
        return lastError();
    timeouts.ReadIntervalTimeout = kReadIntervalTimeoutMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadTotalTimeoutMs;
    if (!::SetCommTimeouts(toHandle(handle), &timeouts))
        return lastError();
    return 0;
}

int Win32SerialPort::write(PortHandleType handle, const std::uint8_t *data, std::size_t size,
                           std::size_t &written)
{
    written = 0;
    if (handle == kNoPort)
        return ERROR_INVALID_HANDLE;
    while (written < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - written, 0x10000));
        DWORD count = 0;
        if (!::WriteFile(toHandle(handle), data + written, chunk, &count, nullptr))
            return lastError();
        if (count == 0)
            return ERROR_TIMEOUT;  // the port's write time-out passed with nothing sent
        written += count;
    }
    return 0;
}

int Win32SerialPort::read(PortHandleType handle, std::uint8_t *buffer, std::size_t capacity,
                          std::size_t &received)
{
    received = 0;
    if (handle == kNoPort)
        return ERROR_INVALID_HANDLE;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 0x10000));
    DWORD count = 0;
    const BOOL ok = ::ReadFile(toHandle(handle), buffer, wanted, &count, nullptr);
    received = count;
    return ok ? 0 : lastError();
}

void Win32SerialPort::close(PortHandleType handle)
{
    if (handle != kNoPort)
        ::CloseHandle(toHandle(handle));
}

std::string Win32SerialPort::deviceName(int comNumber) const
{
    return comDevicePath(comNumber);
}

}  // namespace stripmixer
