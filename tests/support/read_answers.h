#pragma once

// Reading the board's answers over a real port, for real-time tests and benchmarks.

#include "serial_port.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace stripmixer::test {

// Reads 20 bytes at a time, as the link does, until `lines` answers (each ending CR LF) have
// come, the port fails, or `bound` has passed; returns what came.
inline std::string readAnswers(SerialPort &port, PortHandleType handle, int lines = 1,
                               std::chrono::milliseconds bound = std::chrono::milliseconds(5000))
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::string text;
    auto complete = [&] {
        int ends = 0;
        for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
            ++ends;
        return ends >= lines;
    };
    while (!complete() && std::chrono::steady_clock::now() < deadline) {
        std::uint8_t buffer[20];
        std::size_t received = 0;
        if (port.read(handle, buffer, sizeof buffer, received) != 0)
            break;
        text.append(reinterpret_cast<char *>(buffer), received);
    }
    return text;
}

}  // namespace stripmixer::test
