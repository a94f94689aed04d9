// The link's state and its port primitives: probing, sending one frame, reading one answer.

#include "arduino_nano.h"

namespace stripmixer {

ArduinoNano::ArduinoNano(SerialPort &port, Clock &clock, LinkHost &host)
    : m_port(port), m_clock(clock), m_host(host)
{
}

std::string failureMessage(const char *operation, int error)
{
    std::string text = std::string(operation) + " failed, the error code is ";
    if (error >= 0)
        text += ' ';
    return text + std::to_string(error);
}

bool ArduinoNano::PortExists(int number)
{
    int error = 0;
    return PortExists(number, error);
}

bool ArduinoNano::PortExists(int number, int &error)
{
    error = 0;
    const PortHandleType handle = m_port.open(number, error);
    if (handle == kNoPort)
        return false;
    m_port.close(handle);
    return true;
}

void ArduinoNano::SendCommand(const std::string &text)
{
    CommandText = text;
    SendCommand();
}

void ArduinoNano::SendCommand()
{
    m_host.SetStatus(static_cast<int>(StatusCode::Busy));

    const bool fits = CommandText.size() <= m_txBuffer.size();
    if (fits) {
        for (std::size_t i = 0; i < CommandText.size(); ++i)
            m_txBuffer[i] = static_cast<std::uint8_t>(CommandText[i]);
    }

    m_host.appendToLog(CommandText);

    if (PortHandle == kNoPort)
        return;

    // The sketch's buffer holds no more than ours: a longer frame would be cut off there.
    if (!fits) {
        m_host.messageBox("The command " + CommandText + " is too long to send.");
        return;
    }

    std::size_t written = 0;
    if (const int error = m_port.write(PortHandle, m_txBuffer.data(), CommandText.size(), written))
        reportIoFailure("WriteFile", error);
}

void ArduinoNano::ReadAnswer()
{
    // Polling loops call this on every pass: a closed port must stay quiet, not fail each time.
    if (PortHandle == kNoPort)
        return;

    std::size_t received = 0;
    if (const int error = m_port.read(PortHandle, m_rxBuffer.data(), m_rxBuffer.size(), received)) {
        reportIoFailure("ReadFile", error);
        if (!isConnected())
            return;  // the device went away; the window has reset itself
    }
    if (received > m_rxBuffer.size())
        received = m_rxBuffer.size();

    // Byte for character: NUL and 0x80 … 0xFF travel unchanged.
    AnswerText.assign(reinterpret_cast<const char *>(m_rxBuffer.data()), received);
    if (AnswerText.empty())
        return;

    m_host.appendToLog(AnswerText);
    dispatchAnswer();
    m_host.SetStatus(static_cast<int>(StatusCode::Ready));
}

void ArduinoNano::CloseConnection()
{
    // Never close a handle twice: the number may already belong to another file.
    if (PortHandle != kNoPort)
        m_port.close(PortHandle);
    PortHandle = kNoPort;
}

void ArduinoNano::reportIoFailure(const char *operation, int error)
{
    // Let go of a vanished device before the message box runs other handlers, so none of them
    // touches the dead port, the window already shows the truth and this message comes once.
    if (SystemErrors::isDeviceGone(error)) {
        CloseConnection();
        m_host.connectionLost();
    }
    m_host.messageBox(failureMessage(operation, error));
}

}  // namespace stripmixer
