// The link's primitives: probing, sending one frame, reading one answer, and losing the device.

#include "arduino_nano.h"
#include "fake_host.h"
#include "pty.h"
#include "serial_port_posix.h"
#include "virtual_clock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace stripmixer {
namespace {

using test::FakeHost;

// A port that plays back scripted reads and records every call.
class ScriptedPort : public SerialPort {
public:
    struct Read {
        int error = 0;
        std::string bytes;
    };

    static constexpr PortHandleType kHandle = 42;

    int openError = 0;  // what open() fails with; 0: it succeeds
    int writeError = 0;
    std::deque<Read> reads;  // an empty queue reads nothing

    std::string written;
    int opens = 0, writes = 0, readCalls = 0, closes = 0;

    PortHandleType open(int, int &error) override
    {
        ++opens;
        error = openError;
        return openError ? kNoPort : kHandle;
    }
    int configure(PortHandleType, std::uint32_t) override { return 0; }
    int setReadTimeouts(PortHandleType) override { return 0; }
    int write(PortHandleType, const std::uint8_t *data, std::size_t size,
              std::size_t &count) override
    {
        ++writes;
        count = 0;
        if (writeError)
            return writeError;
        written.append(reinterpret_cast<const char *>(data), size);
        count = size;
        return 0;
    }
    int read(PortHandleType, std::uint8_t *buffer, std::size_t capacity,
             std::size_t &received) override
    {
        ++readCalls;
        received = 0;
        if (reads.empty())
            return 0;
        Read next = reads.front();
        reads.pop_front();
        received = std::min(capacity, next.bytes.size());
        std::copy_n(next.bytes.begin(), received, buffer);
        return next.error;
    }
    void close(PortHandleType) override { ++closes; }
    std::string deviceName(int) const override { return "scripted"; }
};

class ArduinoNanoTest : public ::testing::Test {
protected:
    void connect() { nano.PortHandle = ScriptedPort::kHandle; }

    ScriptedPort port;
    VirtualClock clock;
    FakeHost host;
    ArduinoNano nano{port, clock, host};
};

TEST(FailureMessage, PutsTwoBlanksBeforeTheNumber)
{
    EXPECT_EQ(failureMessage("WriteFile", 5), "WriteFile failed, the error code is  5");
    EXPECT_EQ(failureMessage("ReadFile", 0), "ReadFile failed, the error code is  0");
    EXPECT_EQ(failureMessage("CreateFile", 1167), "CreateFile failed, the error code is  1167");
}

TEST_F(ArduinoNanoTest, StartsDisconnectedAndEmpty)
{
    EXPECT_EQ(nano.PortHandle, kNoPort);
    EXPECT_FALSE(nano.isConnected());
    EXPECT_EQ(nano.PortNumber, 0);
    EXPECT_EQ(nano.CommandText, "");
    EXPECT_EQ(nano.AnswerText, "");
    EXPECT_EQ(nano.InterfaceFound, 0);
    EXPECT_EQ(nano.BreakRequested, 0);
}

TEST_F(ArduinoNanoTest, PortExistsOpensAndClosesWithoutTouchingTheLink)
{
    EXPECT_TRUE(nano.PortExists(7));
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(nano.PortHandle, kNoPort);

    for (const int error : {ENOENT, EBUSY, EACCES}) {
        port.openError = error;
        EXPECT_FALSE(nano.PortExists(7)) << error;
    }
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ArduinoNanoTest, SendWithoutAPortLogsAndShowsBusyButWritesNothing)
{
    host.SetStatus(1);
    nano.SendCommand("91/");
    EXPECT_EQ(nano.CommandText, "91/");
    EXPECT_EQ(host.status, 2);
    EXPECT_EQ(host.log, "\r91/\r");
    EXPECT_EQ(port.writes, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ArduinoNanoTest, ReadWithoutAPortDoesNothing)
{
    host.SetStatus(2);
    nano.ReadAnswer();
    EXPECT_EQ(port.readCalls, 0);
    EXPECT_EQ(host.status, 2);
    EXPECT_EQ(host.log, "");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ArduinoNanoTest, AnExchangeIsLoggedExactlyAndEndsReady)
{
    connect();
    nano.SendCommand("91/");
    EXPECT_EQ(port.written, "91/");
    EXPECT_EQ(host.status, 2);

    // Nothing yet: no trace in the log, still busy.
    nano.ReadAnswer();
    EXPECT_EQ(host.status, 2);
    EXPECT_EQ(host.log, "\r91/\r");
    EXPECT_EQ(nano.AnswerText, "");

    port.reads.push_back({0, "NP16\r\n"});
    nano.ReadAnswer();
    EXPECT_EQ(nano.AnswerText, "NP16\r\n");
    EXPECT_EQ(host.log, "\r91/\r" "\r" "NP16\r\n" "\r");
    EXPECT_EQ(host.numPixels, "16");
    EXPECT_EQ(host.status, 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ArduinoNanoTest, AnswerBytesBecomeCharactersOneToOne)
{
    connect();
    const std::string bytes("A\x00\xff\x80Z", 5);
    port.reads.push_back({0, bytes});
    nano.ReadAnswer();
    ASSERT_EQ(nano.AnswerText.size(), 5u);
    EXPECT_EQ(nano.AnswerText, bytes);
    EXPECT_EQ(host.log, "\r" + bytes + "\r");
}

TEST_F(ArduinoNanoTest, FramesUpToTheBufferAreSentLongerOnesAreRefused)
{
    connect();
    nano.SendCommand("92/12.555/");  // 10 bytes: just fits
    EXPECT_EQ(port.written, "92/12.555/");
    EXPECT_TRUE(host.messages.empty());

    nano.SendCommand("92/12.5555/");
    EXPECT_EQ(port.written, "92/12.555/");
    EXPECT_EQ(port.writes, 1);
    EXPECT_EQ(host.log, "\r92/12.555/\r\r92/12.5555/\r");
    EXPECT_EQ(host.status, 2);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "The command 92/12.5555/ is too long to send.");
    EXPECT_TRUE(nano.isConnected());
}

TEST_F(ArduinoNanoTest, AFailedWriteIsReportedAndThePortKept)
{
    connect();
    port.writeError = ETIMEDOUT;
    nano.SendCommand("50/");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, failureMessage("WriteFile", ETIMEDOUT));
    EXPECT_EQ(host.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(host.messages[0].title, "");
    EXPECT_EQ(host.status, 2);
    EXPECT_TRUE(nano.isConnected());
    EXPECT_EQ(host.connectionsLost, 0);
}

struct GoneCase {
    const char *name;
    bool duringWrite;
};

class DeviceGoneTest : public ArduinoNanoTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(DeviceGoneTest, ReportsOnceLetsGoAndNeverTouchesThePortAgain)
{
    connect();
    if (GetParam().duringWrite) {
        port.writeError = EIO;
        nano.SendCommand("50/");
    } else {
        port.reads.push_back({EIO, ""});
        nano.SendCommand("50/");
        nano.ReadAnswer();
    }

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              failureMessage(GetParam().duringWrite ? "WriteFile" : "ReadFile", EIO));
    EXPECT_EQ(host.connectionsLost, 1);
    EXPECT_EQ(nano.PortHandle, kNoPort);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(host.status, 0);

    // An effect loop that keeps polling, and later sends, stays quiet.
    const int writes = port.writes, reads = port.readCalls;
    for (int i = 0; i < 5; ++i)
        nano.ReadAnswer();
    nano.SendCommand("82/150/");
    nano.CloseConnection();
    EXPECT_EQ(port.writes, writes);
    EXPECT_EQ(port.readCalls, reads);
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.connectionsLost, 1);
}

INSTANTIATE_TEST_SUITE_P(Link, DeviceGoneTest,
                         ::testing::Values(GoneCase{"Read", false}, GoneCase{"Write", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ArduinoNanoTest, CloseConnectionClosesOnce)
{
    connect();
    nano.CloseConnection();
    nano.CloseConnection();
    EXPECT_EQ(port.closes, 1);
    EXPECT_EQ(nano.PortHandle, kNoPort);
}

// The same primitives over the real port code and a real pseudo-terminal.
class ArduinoNanoOverPtyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        ASSERT_TRUE(dir.link(5, pty.slavePath()));
    }

    void TearDown() override { nano.CloseConnection(); }

    void openPort()
    {
        int error = 0;
        nano.PortHandle = port.open(5, error);
        ASSERT_NE(nano.PortHandle, kNoPort) << "errno " << error;
        ASSERT_EQ(port.configure(nano.PortHandle, 115200), 0);
        ASSERT_EQ(port.setReadTimeouts(nano.PortHandle), 0);
    }

    // Bounded wait until the board's bytes are ready for the program.
    bool answerWaiting(int count)
    {
        for (int i = 0; i < 2000; ++i) {
            int queued = 0;
            if (::ioctl(nano.PortHandle, FIONREAD, &queued) == 0 && queued >= count)
                return true;
            ::poll(nullptr, 0, 1);
        }
        return false;
    }

    test::PtyPair pty;
    test::ComDir dir;
    PosixSerialPort port{dir.path()};
    VirtualClock clock;
    FakeHost host;
    ArduinoNano nano{port, clock, host};
};

TEST_F(ArduinoNanoOverPtyTest, ProbesAFreePortAndNotALockedOne)
{
    EXPECT_TRUE(nano.PortExists(5));
    EXPECT_FALSE(nano.PortExists(6));

    // Another program holds it.
    const int other = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(nano.PortExists(5));
    ::close(other);

    EXPECT_TRUE(nano.PortExists(5));
    openPort();
    EXPECT_FALSE(nano.PortExists(5));  // this program holds it now
    nano.CloseConnection();
    EXPECT_TRUE(nano.PortExists(5));
}

TEST_F(ArduinoNanoOverPtyTest, ExchangeOnTheWire)
{
    openPort();
    nano.SendCommand("91/");
    EXPECT_EQ(pty.read(3), "91/");

    ASSERT_TRUE(pty.write("NP16\r\n"));
    ASSERT_TRUE(answerWaiting(6));
    nano.ReadAnswer();
    EXPECT_EQ(host.log, "\r91/\r\rNP16\r\n\r");
    EXPECT_EQ(host.status, 1);
}

TEST_F(ArduinoNanoOverPtyTest, UnpluggedBoardIsReportedOnce)
{
    openPort();
    pty.closeMaster();
    nano.ReadAnswer();
    nano.ReadAnswer();
    nano.SendCommand("50/");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("ReadFile failed, the error code is  ", 0), 0u);
    EXPECT_EQ(host.connectionsLost, 1);
    EXPECT_EQ(nano.PortHandle, kNoPort);
}

}  // namespace
}  // namespace stripmixer
