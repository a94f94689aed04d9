#pragma once

// The controller link: the one serial port the program uses and the state of the conversation
// with the board. It reaches the window only through LinkHost and waits only through Clock.

#include "clock.h"
#include "protocol.h"
#include "link_host.h"
#include "serial_port.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace stripmixer {

// The publisher's address, in the status bar and in the wrong-sketch message.
inline constexpr const char *kPublisherAddress = "www.halvorne.example";

// The Com number in a port list entry "Com 7": the leading number from the fourth character on
// (up to four characters), 0 for "Not found" and anything else that holds no number.
short comNumberFromText(std::string_view text);

// What to do when opening Com `comNumber` was refused for want of permission: the device and
// the group to join.
std::string permissionHint(int comNumber);

// The rate a baud list text stands for: "Baud Rate" means 115200; 0 when the text is no rate.
std::uint32_t baudRateFromText(std::string_view text);

class ArduinoNano {
public:
    ArduinoNano(SerialPort &port, Clock &clock, LinkHost &host);

    ArduinoNano(const ArduinoNano &) = delete;
    ArduinoNano &operator=(const ArduinoNano &) = delete;

    // Link state. "Connected" always means PortHandle != kNoPort.
    PortHandleType PortHandle = kNoPort;
    short PortNumber = 0;
    std::string CommandText;
    std::string AnswerText;
    short InterfaceFound = 0;   // 1 after the board answered "AC"
    short BreakRequested = 0;   // -1 while a Break is pending
    short LastEffect = 0;
    short LastRed = 0;
    short LastGreen = 0;
    short LastBlue = 0;

    bool isConnected() const { return PortHandle != kNoPort; }

    // True when Com `number` can be opened now; the port is closed again at once. The second
    // form also tells why a port did not open.
    bool PortExists(int number);
    bool PortExists(int number, int &error);

    // Logs CommandText, shows "Busy" and writes the frame if a port is open.
    void SendCommand();
    // Puts `text` into CommandText and sends it.
    void SendCommand(const std::string &text);

    // Reads what the board sent (up to 20 bytes); a non-empty answer is logged, dispatched and
    // shows "Ready".
    void ReadAnswer();

    void CloseConnection();

    // Opens, configures and identifies the port chosen in the window, then brings the strip to
    // the window's colour and speed.
    void OpenConnection();
    void InitConnection();

    SerialPort &port() { return m_port; }
    Clock &clock() { return m_clock; }

private:
    void dispatchAnswer();
    // Waits `seconds` without events and reads once; false once the port is gone.
    bool awaitAnswer(double seconds);
    // Sends `frame`, then awaitAnswer.
    bool exchange(const std::string &frame, double seconds);
    std::string openFailureMessage(int error) const;
    // A failed read or write: says so once, and lets go of a device that has gone.
    void reportIoFailure(const char *operation, int error);

    SerialPort &m_port;
    Clock &m_clock;
    LinkHost &m_host;
    std::array<std::uint8_t, kMaxFrameLength> m_txBuffer{};
    std::array<std::uint8_t, kReadSize> m_rxBuffer{};
};

// "WriteFile failed, the error code is  5": the runtime writes a non-negative number with a
// leading blank, so two blanks stand before the digits.
std::string failureMessage(const char *operation, int error);

}  // namespace stripmixer
