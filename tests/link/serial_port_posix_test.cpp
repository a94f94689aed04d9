// The real port code over real pseudo-terminals.

#include "pty.h"
#include "serial_port_posix.h"

#include <gtest/gtest.h>

// Only the kernel's termios2 shows a rate set with BOTHER; <termios.h> must stay out of here.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

namespace stripmixer {
namespace {

using namespace std::chrono_literals;

constexpr int kCom = 7;

// Waits (bounded) until `count` bytes are queued for reading on `fd`.
bool waitForInput(int fd, int count)
{
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (std::chrono::steady_clock::now() < deadline) {
        int queued = 0;
        if (::ioctl(fd, FIONREAD, &queued) == 0 && queued >= count)
            return true;
        ::poll(nullptr, 0, 1);
    }
    return false;
}

std::string asText(const std::uint8_t *bytes, std::size_t size)
{
    return std::string(reinterpret_cast<const char *>(bytes), size);
}

class PosixPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        ASSERT_FALSE(dir.path().empty());
        ASSERT_TRUE(dir.link(kCom, pty.slavePath()));
    }

    void TearDown() override
    {
        if (handle != kNoPort)
            port.close(handle);
    }

    // Opened and set up as the link does it.
    void openPort()
    {
        int error = -1;
        handle = port.open(kCom, error);
        ASSERT_NE(handle, kNoPort) << "errno " << error;
        EXPECT_EQ(error, 0);
        ASSERT_EQ(port.configure(handle, 115200), 0);
        ASSERT_EQ(port.setReadTimeouts(handle), 0);
    }

    int writeText(const std::string &text)
    {
        std::size_t written = 0;
        const int error = port.write(handle, reinterpret_cast<const std::uint8_t *>(text.data()),
                                     text.size(), written);
        if (error == 0) {
            EXPECT_EQ(written, text.size());
        }
        return error;
    }

    // One read as the link does it: returns the error, puts the bytes into `text`.
    int readText(std::string &text)
    {
        std::uint8_t buffer[kReadSize];
        std::size_t received = 99;
        const int error = port.read(handle, buffer, sizeof buffer, received);
        EXPECT_LE(received, sizeof buffer);
        text = asText(buffer, std::min(received, sizeof buffer));
        return error;
    }

    static constexpr std::size_t kReadSize = 20;

    test::PtyPair pty;
    test::ComDir dir;
    PosixSerialPort port{dir.path()};
    PortHandleType handle = kNoPort;
};

TEST_F(PosixPortTest, OpensAFreePortAndRefusesMissingOnes)
{
    openPort();
    EXPECT_EQ(port.deviceName(kCom), pty.slavePath());

    int error = 0;
    EXPECT_EQ(port.open(kCom + 1, error), kNoPort);  // no entry
    EXPECT_TRUE(SystemErrors::isMissingDevice(error)) << error;

    ASSERT_TRUE(dir.link(9, dir.path() + "/nowhere"));  // a link to nothing
    EXPECT_EQ(port.open(9, error), kNoPort);
    EXPECT_TRUE(SystemErrors::isMissingDevice(error)) << error;

    ASSERT_TRUE(dir.link(10, "/dev/null"));  // a device, but no serial line
    EXPECT_EQ(port.open(10, error), kNoPort);
    EXPECT_TRUE(SystemErrors::isMissingDevice(error)) << error;

    EXPECT_EQ(port.open(0, error), kNoPort);
    EXPECT_TRUE(SystemErrors::isMissingDevice(error)) << error;
}

TEST_F(PosixPortTest, APortLockedElsewhereIsInUseUntilReleased)
{
    const int other = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);

    int error = 0;
    EXPECT_EQ(port.open(kCom, error), kNoPort);
    EXPECT_TRUE(SystemErrors::isInUse(error)) << error;

    ::close(other);
    openPort();

    // While this program holds it, nobody else gets it; once closed, it is free again.
    PosixSerialPort second{dir.path()};
    EXPECT_EQ(second.open(kCom, error), kNoPort);
    EXPECT_TRUE(SystemErrors::isInUse(error)) << error;
    port.close(handle);
    handle = second.open(kCom, error);
    EXPECT_NE(handle, kNoPort) << "errno " << error;
}

TEST_F(PosixPortTest, BytesPassUnchangedBothWays)
{
    openPort();

    // Line ends, flow-control and interrupt characters, NUL and high bytes: all plain data.
    const std::string frame("82/150/", 7);
    const std::string awkward("\r\n\x11\x13\x03\x04\x00\x7f\x80\xff", 10);
    ASSERT_EQ(writeText(frame), 0);
    ASSERT_EQ(writeText(awkward), 0);
    EXPECT_EQ(pty.read(frame.size() + awkward.size()), frame + awkward);

    ASSERT_TRUE(pty.write(awkward));
    ASSERT_TRUE(waitForInput(handle, static_cast<int>(awkward.size())));
    std::string answer;
    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, awkward);
}

TEST_F(PosixPortTest, ReadReturnsWhatCameOrNothing)
{
    openPort();

    std::string answer = "stale";
    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, "");

    ASSERT_TRUE(pty.write("NP16\r\n"));
    ASSERT_TRUE(waitForInput(handle, 6));
    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, "NP16\r\n");

    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, "");
}

TEST_F(PosixPortTest, ALongAnswerComesInReadsOfTwenty)
{
    openPort();
    const std::string waiting = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 bytes
    ASSERT_TRUE(pty.write(waiting));
    ASSERT_TRUE(waitForInput(handle, 25));

    std::string answer;
    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, waiting.substr(0, 20));
    EXPECT_EQ(readText(answer), 0);
    EXPECT_EQ(answer, waiting.substr(20));
}

TEST_F(PosixPortTest, AVanishedDeviceFailsReadsAndWritesAsGone)
{
    openPort();
    pty.closeMaster();

    std::string answer;
    const int readError = readText(answer);
    EXPECT_TRUE(SystemErrors::isDeviceGone(readError)) << readError;
    EXPECT_EQ(answer, "");

    const int writeError = writeText("50/");
    EXPECT_TRUE(SystemErrors::isDeviceGone(writeError)) << writeError;
}

TEST_F(PosixPortTest, AWriteNobodyTakesGivesUpWithAnError)
{
    openPort();
    // Fill the line's queue from this side until the kernel takes no more, also after it has
    // moved what it could along the pseudo-terminal.
    const std::string block(4096, 'x');
    pollfd room{handle, POLLOUT, 0};
    int rounds = 0;
    do {
        while (::write(handle, block.data(), block.size()) > 0) {
        }
        while (::write(handle, block.data(), 1) > 0) {
        }
        ASSERT_EQ(errno, EAGAIN);
        ASSERT_LT(++rounds, 100);
    } while (::poll(&room, 1, 200) > 0);

    EXPECT_NE(writeText("50/"), 0);
}

TEST_F(PosixPortTest, ClosedHandleIsRefusedWithoutTouchingAnything)
{
    std::uint8_t byte = 0;
    std::size_t count = 7;
    EXPECT_EQ(port.read(kNoPort, &byte, 1, count), EBADF);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.write(kNoPort, &byte, 1, count), EBADF);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.configure(kNoPort, 9600), EBADF);
    EXPECT_EQ(port.setReadTimeouts(kNoPort), EBADF);
    port.close(kNoPort);
}

TEST_F(PosixPortTest, ConfigureSetsEveryOfferedRateExactly)
{
    openPort();
    for (const std::uint32_t rate : {9600u, 14400u, 19200u, 38400u, 57600u, 115200u, 128000u}) {
        SCOPED_TRACE(rate);
        ASSERT_EQ(port.configure(handle, rate), 0);

        termios2 settings{};
        ASSERT_EQ(::ioctl(handle, TCGETS2, &settings), 0);
        EXPECT_EQ(settings.c_ospeed, rate);
        EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
        EXPECT_EQ(settings.c_oflag & OPOST, 0u);
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    }
    EXPECT_NE(port.configure(handle, 0), 0);
}

TEST_F(PosixPortTest, APortWhoseRateWasNeverSetIsStillRawAfterTheTimeouts)
{
    // As a fresh tty comes up: echoing, line by line, CR turned into LF.
    termios2 cooked{};
    ASSERT_EQ(::ioctl(pty.masterFd(), TCGETS2, &cooked), 0);
    cooked.c_lflag |= ICANON | ECHO | ISIG;
    cooked.c_iflag |= ICRNL | IXON;
    cooked.c_oflag |= OPOST;
    ASSERT_EQ(::ioctl(pty.masterFd(), TCSETS2, &cooked), 0);
    const speed_t rateBefore = cooked.c_ospeed;

    int error = 0;
    handle = port.open(kCom, error);
    ASSERT_NE(handle, kNoPort);
    ASSERT_EQ(port.setReadTimeouts(handle), 0);  // configure skipped, as after a refused rate

    termios2 settings{};
    ASSERT_EQ(::ioctl(handle, TCGETS2, &settings), 0);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(settings.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_ospeed, rateBefore);

    // An answer with its CR arrives unchanged and nothing is echoed back to the board.
    ASSERT_TRUE(pty.write("AC\r\n"));
    std::uint8_t buffer[20];
    std::size_t received = 0;
    ASSERT_EQ(port.read(handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(asText(buffer, received), "AC\r\n");
    EXPECT_EQ(pty.read(1, 0ms), "");
}

TEST(PosixPortNames, DeviceNameFollowsTheTableOrTheFolder)
{
    PosixSerialPort table{""};
    EXPECT_EQ(table.deviceName(33), "/dev/ttyUSB0");
    EXPECT_EQ(table.deviceName(97), "");

    test::ComDir dir;
    ASSERT_TRUE(dir.link(3, "/dev/ttyACM2"));  // need not exist to be named
    PosixSerialPort folder{dir.path()};
    EXPECT_EQ(folder.deviceName(3), "/dev/ttyACM2");
    EXPECT_EQ(folder.deviceName(4), dir.path() + "/com4");
}

}  // namespace
}  // namespace stripmixer
