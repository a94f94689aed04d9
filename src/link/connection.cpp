// Connecting to the board and making sense of its answers.

#include "arduino_nano.h"
#include "com_ports.h"

#include <cmath>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

namespace stripmixer {

namespace {

constexpr std::uint32_t kDefaultBaudRate = 115200;
constexpr const char *kWrongSketchTitle = "Verkeerde programma in Arduino geladen.";

// The line of the wrong-sketch message that names what the board runs instead.
const char *wrongSketchLine(std::string_view code)
{
    if (code == Answer::TestSketch || code == Answer::TestSketch2)
        return "Test Arduino Nano staat in de Arduino.";
    if (code == Answer::Tm1638)
        return "TM1638 staat in de Arduino.";
    if (code == Answer::LightOrgan)
        return "Het Lichtorgel staat in de Arduino.";
    return nullptr;
}

// The group a user must join to open the device; dialout on most distributions.
std::string deviceGroup(int comNumber)
{
#ifndef _WIN32
    const std::string path = comDevicePath(comNumber);
    struct stat info {};
    if (!path.empty() && ::stat(path.c_str(), &info) == 0) {
        if (const group *owner = ::getgrgid(info.st_gid))
            return owner->gr_name;
    }
#else
    (void)comNumber;
#endif
    return "dialout";
}

}  // namespace

short comNumberFromText(std::string_view text)
{
    if (text.size() < 4)
        return 0;
    const double number = leadingNumber(text.substr(3, 4));
    return static_cast<short>(std::trunc(number));
}

std::uint32_t baudRateFromText(std::string_view text)
{
    if (text == "Baud Rate")
        return kDefaultBaudRate;
    const double rate = std::round(leadingNumber(text));
    if (rate < 1 || rate > 4'000'000)
        return 0;
    return static_cast<std::uint32_t>(rate);
}

std::string permissionHint(int comNumber)
{
    const std::string device = comDevicePath(comNumber);
    const std::string group = deviceGroup(comNumber);
    return "Access to " + (device.empty() ? std::string("the port") : device)
           + " was refused. Add your user to the group " + group + " (sudo usermod -aG " + group
           + " $USER), then log out and in again.";
}

std::string ArduinoNano::openFailureMessage(int error) const
{
    if (SystemErrors::isMissingDevice(error))
        return "The serial port does not exist";
    if (SystemErrors::isInUse(error))
        return "The serial port is used by another program";
    std::string text = failureMessage("CreateFile", error);
    if (SystemErrors::isPermissionDenied(error))
        text += '\r' + permissionHint(PortNumber);
    return text;
}

void ArduinoNano::OpenConnection()
{
    m_host.SetStatus(static_cast<int>(StatusCode::Busy));
    m_host.showSearchWindow();

    // The Connect button reads the number the same way, so both agree on typed texts.
    PortNumber = comNumberFromText(m_host.portComboText());

    int error = 0;
    PortHandle = m_port.open(PortNumber, error);
    if (PortHandle == kNoPort) {
        m_host.hideSearchWindow();
        m_host.messageBox(openFailureMessage(error));
        return;
    }

    const std::string baudText = m_host.baudComboText();
    const std::uint32_t baudRate = baudRateFromText(baudText);
    if (baudRate == 0) {
        // Nothing sensible to set: say so, and try the board at the rate the port already has.
        m_host.messageBox("The baud rate \"" + baudText
                          + "\" is not a whole number; the port keeps its present rate.");
    } else if (const int configureError = m_port.configure(PortHandle, baudRate)) {
        m_host.messageBox(failureMessage("SetCommState", configureError));
    }

    if (const int timeoutsError = m_port.setReadTimeouts(PortHandle)) {
        m_host.messageBox(failureMessage("SetCommTimeouts", timeoutsError));
        // Without read time-outs every read could block: give the port up now, once.
        CloseConnection();
        m_host.hideSearchWindow();
        return;
    }

    // The board restarts when the port opens; give it time to come up.
    m_clock.PauseWithEvents(Wait::BeforeIdentify);
    if (!isConnected()) {
        m_host.hideSearchWindow();
        return;
    }

    SendCommand(frame(Cmd::Identify));
    ReadAnswer();  // at once: the identification must come within this one read

    InitConnection();
}

bool ArduinoNano::awaitAnswer(double seconds)
{
    if (!isConnected())
        return false;
    m_clock.Pause(seconds);
    ReadAnswer();
    return isConnected();
}

bool ArduinoNano::exchange(const std::string &text, double seconds)
{
    SendCommand(text);
    return awaitAnswer(seconds);
}

void ArduinoNano::InitConnection()
{
    if (InterfaceFound == 1) {
        // Each step stops short once the device has gone: the window has reset itself by then.
        bool alive = exchange(frame(Cmd::GetNumPixels), Wait::HandshakeNumPixels);
        if (alive)
            m_host.showConnected();

        struct Component {
            int command;
            int position;
            short &lastSent;
            double wait;
        };
        const Component components[] = {
            {Cmd::Red, m_host.redPosition(), LastRed, Wait::HandshakeColor},
            {Cmd::Green, m_host.greenPosition(), LastGreen, Wait::HandshakeColor},
            {Cmd::Blue, m_host.bluePosition(), LastBlue, Wait::HandshakeBlue},
        };
        for (const Component &c : components) {
            if (!alive)
                break;
            const int value = 255 - c.position;
            SendCommand(frame(c.command, value));
            c.lastSent = static_cast<short>(value);
            alive = awaitAnswer(c.wait);
        }

        if (alive && exchange(frame(Cmd::Reset), Wait::HandshakeReset))
            exchange(frame(Cmd::Delay, 500 - m_host.waitValue()), Wait::HandshakeDelay);
    } else {
        m_host.showDisconnected();
        CloseConnection();
    }
    m_host.hideSearchWindow();
}

void ArduinoNano::dispatchAnswer()
{
    const std::string_view answer = AnswerText;
    const std::string_view code = answer.substr(0, 2);

    if (code == Answer::NumPixels) {
        const std::string_view digits = answer.size() > 2 ? answer.substr(2, 6) : std::string_view{};
        m_host.showNumPixels(formatNumber(leadingNumber(digits)));
    } else if (code == Answer::EffectDone) {
        m_host.clearEffectInfo();
    } else if (code == Answer::Identified) {
        m_host.unloadSearchWindow();
        InterfaceFound = 1;
    } else if (const char *line = wrongSketchLine(code)) {
        m_host.messageBox(std::string("Er is een Arduino gevonden maar het verkeerde .ino bestand "
                                      "staat daar in.\r\r")
                              + line
                              + "\r\rVoor dit programma moet StripMixer_Effects_01 in de Arduino "
                                "staan.\r\rInformatie staat op "
                              + kPublisherAddress + "/Arduino",
                          MessageIcon::Critical, kWrongSketchTitle);
    }
}

}  // namespace stripmixer
