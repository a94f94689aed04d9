// Connecting and answer dispatch, on the simulated board and virtual time.

#include "arduino_nano.h"
#include "board_model.h"
#include "fake_host.h"
#include "memory_port.h"
#include "virtual_clock.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <deque>

namespace stripmixer {
namespace {

using test::FakeHost;

// A test name from any text: letters and digits kept, everything else an underscore.
std::string caseName(const std::string &text)
{
    std::string name;
    for (const char c : text)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name.empty() ? "empty" : name;
}

const std::vector<std::string> kHandshakeFrames = {"90/", "91/", "20/50/", "21/50/", "22/50/",
                                                   "50/", "80/450/"};

struct Rig {
    explicit Rig(BoardOptions options = {}) : board(options), port(clock)
    {
        port.attach(7, board);
    }
    VirtualClock clock;
    BoardModel board;
    MemoryPort port;
    FakeHost host;
    ArduinoNano link{port, clock, host};
};

TEST(Handshake, BoardThatAnswersAcIsBroughtToTheWindowsState)
{
    Rig rig;
    rig.link.OpenConnection();

    EXPECT_EQ(rig.board.frames(), kHandshakeFrames);
    EXPECT_TRUE(rig.link.isConnected());
    EXPECT_EQ(rig.link.InterfaceFound, 1);
    EXPECT_EQ(rig.port.baudRate(), 115200u);
    EXPECT_EQ(rig.host.numPixels, "16");
    EXPECT_TRUE(rig.host.connected);
    EXPECT_EQ(rig.host.status, 1);
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_EQ(rig.host.searchShown, 1);
    EXPECT_GE(rig.host.searchUnloaded, 1);
    EXPECT_GE(rig.host.searchHidden, 1);
    EXPECT_EQ(rig.link.LastRed, 50);
    EXPECT_EQ(rig.link.LastGreen, 50);
    EXPECT_EQ(rig.link.LastBlue, 50);
    // The board got two seconds to start before it was asked who it is.
    const auto &transcript = rig.board.transcript();
    ASSERT_FALSE(transcript.empty());
    EXPECT_EQ(transcript.front().text, "90/");
    EXPECT_DOUBLE_EQ(transcript.front().time, 2.0);
    EXPECT_EQ(rig.clock.pausesWithEvents(), 1);
}

TEST(Handshake, FramesFollowTheSlidersAndTheSpeed)
{
    Rig rig;
    rig.host.red = 0;
    rig.host.green = 255;
    rig.host.blue = 100;
    rig.host.wait = 500;
    rig.link.OpenConnection();

    EXPECT_EQ(rig.board.frames(), (std::vector<std::string>{"90/", "91/", "20/255/", "21/0/",
                                                           "22/155/", "50/", "80/0/"}));
    EXPECT_EQ(rig.link.LastRed, 255);
    EXPECT_EQ(rig.link.LastGreen, 0);
    EXPECT_EQ(rig.link.LastBlue, 155);
}

struct SignatureCase {
    std::string signature;
    bool identified;
    const char *line;  // the wrong-sketch line, or nullptr for no message
};

class Signatures : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(Signatures, DecideWhetherTheBoardIsKept)
{
    const SignatureCase &c = GetParam();
    BoardOptions options;
    options.signature = c.signature;
    options.silent = c.signature.empty();
    Rig rig(options);
    rig.link.OpenConnection();

    EXPECT_EQ(rig.link.isConnected(), c.identified);
    EXPECT_EQ(rig.link.InterfaceFound, c.identified ? 1 : 0);
    if (c.identified) {
        EXPECT_EQ(rig.board.frames(), kHandshakeFrames);
        EXPECT_TRUE(rig.host.messages.empty());
        return;
    }
    EXPECT_EQ(rig.board.frames(), std::vector<std::string>{"90/"});
    EXPECT_EQ(rig.host.status, 0);
    EXPECT_EQ(rig.host.disconnectedShown, 1);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.port.closes(), 1);
    EXPECT_GE(rig.host.searchHidden, 1);
    if (!c.line) {
        EXPECT_TRUE(rig.host.messages.empty());
        return;
    }
    ASSERT_EQ(rig.host.messages.size(), 1u);
    const auto &message = rig.host.messages.front();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.title, "Verkeerde programma in Arduino geladen.");
    EXPECT_EQ(message.text,
              std::string("Er is een Arduino gevonden maar het verkeerde .ino bestand staat daar "
                          "in.\r\r")
                  + c.line
                  + "\r\rVoor dit programma moet StripMixer_Effects_01 in de Arduino staan.\r\r"
                    "Informatie staat op www.halvorne.example/Arduino");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Signatures,
    ::testing::Values(SignatureCase{"AC", true, nullptr},
                      SignatureCase{"AC and more text", true, nullptr},
                      SignatureCase{"ET", false, "Test Arduino Nano staat in de Arduino."},
                      SignatureCase{"AT", false, "Test Arduino Nano staat in de Arduino."},
                      SignatureCase{"TM1638", false, "TM1638 staat in de Arduino."},
                      SignatureCase{"AL", false, "Het Lichtorgel staat in de Arduino."},
                      SignatureCase{"ac", false, nullptr},  // the codes are case-sensitive
                      SignatureCase{"", false, nullptr}),  // a board that stays silent
    [](const auto &info) { return caseName(info.param.signature.empty() ? "silent" : info.param.signature); });

struct OpenErrorCase {
    int error;  // 0: no such port at all
    std::string message;
};

class OpenErrors : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(OpenErrors, EndInOneMessageAndNoPort)
{
    const OpenErrorCase &c = GetParam();
    Rig rig;
    rig.host.portCombo = "Com 9";
    if (c.error)
        rig.port.setOpenError(9, c.error);
    rig.link.OpenConnection();

    EXPECT_FALSE(rig.link.isConnected());
    EXPECT_EQ(rig.link.PortNumber, 9);
    EXPECT_EQ(rig.host.searchShown, 1);
    EXPECT_EQ(rig.host.searchHidden, 1);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(rig.host.messages[0].title, "");
    EXPECT_EQ(rig.host.messages[0].text.substr(0, c.message.size()), c.message);
    EXPECT_TRUE(rig.board.frames().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Linux, OpenErrors,
    ::testing::Values(OpenErrorCase{0, "The serial port does not exist"},
                      OpenErrorCase{ENODEV, "The serial port does not exist"},
                      OpenErrorCase{ENXIO, "The serial port does not exist"},
                      OpenErrorCase{EBUSY, "The serial port is used by another program"},
                      OpenErrorCase{EIO, "CreateFile failed, the error code is  5"},
                      OpenErrorCase{EACCES, "CreateFile failed, the error code is  13\rAccess to "}),
    [](const auto &info) { return "errno_" + std::to_string(info.param.error); });

TEST(OpenErrors, PermissionDeniedSaysWhatToDo)
{
    Rig rig;
    rig.port.setOpenError(7, EACCES);
    rig.link.OpenConnection();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    const std::string &text = rig.host.messages[0].text;
    EXPECT_NE(text.find("group"), std::string::npos) << text;
    EXPECT_NE(text.find("log out and in again"), std::string::npos) << text;
}

TEST(BaudRate, EveryListedRateReachesThePort)
{
    for (const char *text : {"Baud Rate", "9600", "14400", "19200", "38400", "57600", "115200",
                             "128000"}) {
        Rig rig;
        rig.host.baudCombo = text;
        rig.link.OpenConnection();
        const std::uint32_t expected = std::string(text) == "Baud Rate" ? 115200 : std::stoul(text);
        EXPECT_EQ(rig.port.baudRate(), expected) << text;
        EXPECT_TRUE(rig.link.isConnected()) << text;
    }
}

TEST(BaudRate, TextThatIsNoRateIsReportedAndTheAttemptGoesOn)
{
    Rig rig;
    rig.host.baudCombo = "fast";
    rig.link.OpenConnection();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_NE(rig.host.messages[0].text.find("\"fast\""), std::string::npos);
    EXPECT_EQ(rig.port.baudRate(), 0u);  // never set
    EXPECT_TRUE(rig.link.isConnected());
}

TEST(PortSetup, RefusedRateIsReportedAndTheAttemptGoesOn)
{
    Rig rig;
    rig.port.setConfigureError(EINVAL);
    rig.link.OpenConnection();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "SetCommState failed, the error code is  22");
    EXPECT_TRUE(rig.link.isConnected());
    EXPECT_EQ(rig.board.frames(), kHandshakeFrames);
}

TEST(PortSetup, FailedTimeoutsEndTheAttemptAtOnceAndCloseThePortOnce)
{
    Rig rig;
    rig.port.setTimeoutsError(EINVAL);
    rig.link.OpenConnection();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "SetCommTimeouts failed, the error code is  22");
    EXPECT_EQ(rig.link.PortHandle, kNoPort);
    EXPECT_EQ(rig.port.closes(), 1);
    EXPECT_EQ(rig.port.staleHandleUses(), 0);
    EXPECT_EQ(rig.host.searchHidden, 1);
    EXPECT_TRUE(rig.board.frames().empty());
    EXPECT_EQ(rig.clock.now(), 0.0);  // no two-second wait for a port given up

    rig.link.CloseConnection();  // as a reset would
    EXPECT_EQ(rig.port.closes(), 1);
    EXPECT_EQ(rig.port.staleHandleUses(), 0);
}

// Forwards to MemoryPort and pulls the cable after a given number of writes.
class CablePuller : public SerialPort {
public:
    CablePuller(MemoryPort &port, int writesBeforeLoss) : m_port(port), m_left(writesBeforeLoss) {}
    PortHandleType open(int n, int &e) override { return m_port.open(n, e); }
    int configure(PortHandleType h, std::uint32_t b) override { return m_port.configure(h, b); }
    int setReadTimeouts(PortHandleType h) override { return m_port.setReadTimeouts(h); }
    int write(PortHandleType h, const std::uint8_t *d, std::size_t n, std::size_t &w) override
    {
        const int result = m_port.write(h, d, n, w);
        if (--m_left == 0)
            m_port.loseDevice();
        return result;
    }
    int read(PortHandleType h, std::uint8_t *b, std::size_t c, std::size_t &r) override
    {
        return m_port.read(h, b, c, r);
    }
    void close(PortHandleType h) override { m_port.close(h); }
    std::string deviceName(int n) const override { return m_port.deviceName(n); }

private:
    MemoryPort &m_port;
    int m_left;
};

TEST(LostDevice, DuringTheHandshakeGivesOneMessageAndAResetWindow)
{
    for (int writes : {1, 2, 4, 7}) {
        VirtualClock clock;
        BoardModel board;
        MemoryPort memory(clock);
        memory.attach(7, board);
        CablePuller port(memory, writes);
        FakeHost host;
        ArduinoNano link(port, clock, host);

        link.OpenConnection();

        SCOPED_TRACE(writes);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, "ReadFile failed, the error code is  5");
        EXPECT_EQ(host.connectionsLost, 1);
        EXPECT_FALSE(link.isConnected());
        EXPECT_EQ(host.status, 0);
        EXPECT_EQ(memory.closes(), 1);
        EXPECT_EQ(memory.staleHandleUses(), 0);
        EXPECT_EQ(board.frames().size(), static_cast<std::size_t>(writes));
    }
}

TEST(LostDevice, DuringTheWaitBeforeIdentifyStopsWithoutTalkingToIt)
{
    Rig rig;
    // A handler that runs inside the two-second wait finds the device gone.
    rig.clock.at(1.0, [&] {
        rig.port.loseDevice();
        rig.link.SendCommand("91/");
        rig.link.ReadAnswer();
    });
    rig.link.OpenConnection();

    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "WriteFile failed, the error code is  5");
    EXPECT_EQ(rig.host.connectionsLost, 1);
    EXPECT_FALSE(rig.link.isConnected());
    EXPECT_TRUE(rig.board.frames().empty());
    EXPECT_EQ(rig.port.closes(), 1);
    EXPECT_EQ(rig.port.staleHandleUses(), 0);
    EXPECT_GE(rig.host.searchHidden, 1);
    EXPECT_EQ(rig.host.log, "\r91/\r");  // no "90/" after the loss
}

// A port whose reads return prepared answers, for the dispatch on its own.
class AnswerPort : public SerialPort {
public:
    std::deque<std::string> answers;
    PortHandleType open(int, int &) override { return 4; }
    int configure(PortHandleType, std::uint32_t) override { return 0; }
    int setReadTimeouts(PortHandleType) override { return 0; }
    int write(PortHandleType, const std::uint8_t *, std::size_t n, std::size_t &w) override
    {
        w = n;
        return 0;
    }
    int read(PortHandleType, std::uint8_t *buffer, std::size_t capacity, std::size_t &r) override
    {
        r = 0;
        if (answers.empty())
            return 0;
        std::string &next = answers.front();
        r = std::min(capacity, next.size());
        std::copy_n(next.begin(), r, buffer);
        next.erase(0, r);
        if (next.empty())
            answers.pop_front();
        return 0;
    }
    void close(PortHandleType) override {}
    std::string deviceName(int) const override { return "answers"; }
};

struct DispatchCase {
    std::string answer;
    std::string numPixels;  // what Label_NumPixels shows after it
    std::string info;       // what Label_Info shows after it (it starts as "running")
    short interfaceFound;
};

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, ActsOnTheFirstTwoCharactersOnly)
{
    const DispatchCase &c = GetParam();
    VirtualClock clock;
    AnswerPort port;
    FakeHost host;
    host.info = "running";
    ArduinoNano link(port, clock, host);
    int error = 0;
    link.PortHandle = port.open(7, error);
    port.answers.push_back(c.answer);

    link.SendCommand("91/");
    link.ReadAnswer();

    EXPECT_EQ(link.AnswerText, c.answer);
    EXPECT_EQ(host.numPixels, c.numPixels);
    EXPECT_EQ(host.info, c.info);
    EXPECT_EQ(link.InterfaceFound, c.interfaceFound);
    EXPECT_EQ(host.status, 1);
    EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Dispatch,
    ::testing::Values(DispatchCase{"NP16\r\n", "16", "running", 0},
                      DispatchCase{"NP 60", "60", "running", 0},
                      DispatchCase{"NP", "0", "running", 0},
                      DispatchCase{"NP123456789", "123456", "running", 0},
                      DispatchCase{"NP16\r\nRE\r\n", "16", "running", 0},
                      DispatchCase{"RE\r\n", "-", "-", 0},
                      DispatchCase{"AC\r\nNP16", "-", "running", 1},
                      DispatchCase{"re", "-", "running", 0},
                      DispatchCase{"OK\r\n", "-", "running", 0},
                      DispatchCase{std::string("\0\xff", 2), "-", "running", 0}),
    [](const auto &info) { return std::to_string(info.index) + "_" + caseName(info.param.answer); });

TEST(ComNumber, ReadFromTheListEntry)
{
    const std::pair<const char *, short> cases[] = {
        {"Com 7", 7},    {"Com 12", 12}, {"Com 255", 255}, {"Not found", 0},
        {"Com", 0},      {"", 0},        {"Com x", 0},     {"Com  3", 3},
    };
    for (const auto &[text, number] : cases)
        EXPECT_EQ(comNumberFromText(text), number) << text;
}

}  // namespace
}  // namespace stripmixer
