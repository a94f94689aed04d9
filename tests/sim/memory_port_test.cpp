#include "memory_port.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace stripmixer {
namespace {

class MemoryPortTest : public ::testing::Test {
protected:
    MemoryPortTest() { port.attach(7, board); }

    PortHandleType openCom7()
    {
        int error = -1;
        const PortHandleType handle = port.open(7, error);
        EXPECT_EQ(error, 0);
        EXPECT_NE(handle, kNoPort);
        return handle;
    }

    int send(PortHandleType handle, std::string_view bytes)
    {
        std::size_t written = 0;
        return port.write(handle, reinterpret_cast<const std::uint8_t *>(bytes.data()),
                          bytes.size(), written);
    }

    // One read of up to 20 bytes, as the link does.
    std::string readOnce(PortHandleType handle, int *error = nullptr)
    {
        std::uint8_t buffer[kReadSize];
        std::size_t received = 99;
        const int result = port.read(handle, buffer, sizeof buffer, received);
        if (error)
            *error = result;
        else
            EXPECT_EQ(result, 0);
        return std::string(reinterpret_cast<char *>(buffer), received);
    }

    VirtualClock clock;
    BoardModel board;
    MemoryPort port{clock};
};

TEST_F(MemoryPortTest, ReadTakesTwentyBytesThenTheRest)
{
    const PortHandleType handle = openCom7();
    ASSERT_EQ(send(handle, "92/5/92/5/92/5/92/5/92/5/"), 0);  // five "NP5\r\n": 25 bytes
    clock.Pause(0.1);

    const double before = clock.now();
    EXPECT_EQ(readOnce(handle), "NP5\r\nNP5\r\nNP5\r\nNP5\r\n");
    EXPECT_EQ(clock.now(), before) << "the bytes were all there: a full buffer returns at once";
    EXPECT_EQ(readOnce(handle), "NP5\r\n");
    EXPECT_NEAR(clock.now(), before + 0.003, 1e-9) << "a short read ends 3 ms after its last byte";
    EXPECT_EQ(port.written(), "92/5/92/5/92/5/92/5/92/5/");
}

TEST_F(MemoryPortTest, NothingToReadMovesTheClockByTheTotalTimeout)
{
    const PortHandleType handle = openCom7();
    clock.Pause(3.0);
    EXPECT_EQ(readOnce(handle), "");
    EXPECT_NEAR(clock.now(), 3.020, 1e-9);
}

TEST_F(MemoryPortTest, ReadRightAfterWritingWaitsForTheAnswer)
{
    const PortHandleType handle = openCom7();
    send(handle, "90/");
    EXPECT_EQ(readOnce(handle), "AC\r\n");
    EXPECT_GT(clock.now(), 0.001);
    EXPECT_LT(clock.now(), 0.020);
}

TEST_F(MemoryPortTest, AnEffectsAnswerIsReadOnlyWhenItComes)
{
    const PortHandleType handle = openCom7();
    send(handle, "6/");
    const double end = BoardModel::effectDuration(6, BoardModel::kInitialDelay, 16);
    int reads = 0;
    std::string answer;
    while (answer.empty() && reads < 1000) {
        answer = readOnce(handle);
        ++reads;
    }
    EXPECT_EQ(answer, "RE\r\n");
    EXPECT_GE(clock.now(), end);
    EXPECT_LT(clock.now(), end + 0.030);
    EXPECT_GT(reads, static_cast<int>(end / 0.020) - 2) << "each empty read took 20 ms";
}

TEST_F(MemoryPortTest, AnswersThatArriveTogetherComeInOneRead)
{
    const PortHandleType handle = openCom7();
    send(handle, "90/");
    clock.Pause(0.010);
    send(handle, "91/");  // answered a millisecond later: within the 3 ms between bytes
    EXPECT_EQ(readOnce(handle), "AC\r\nNP16\r\n");

    send(handle, "91/");
    send(handle, "3/");  // its "RE" comes long after the read has ended
    EXPECT_EQ(readOnce(handle), "NP16\r\n");
    EXPECT_EQ(readOnce(handle), "");
}

TEST_F(MemoryPortTest, OpenAndConfigureErrors)
{
    int error = 0;
    EXPECT_EQ(port.open(8, error), kNoPort);
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(port.deviceName(8), "");
    EXPECT_EQ(port.deviceName(7), "simulated board on Com 7");

    port.setOpenError(9, EBUSY);
    EXPECT_EQ(port.open(9, error), kNoPort);
    EXPECT_EQ(error, EBUSY);

    const PortHandleType handle = openCom7();
    EXPECT_EQ(port.open(7, error), kNoPort) << "opened exclusively";
    EXPECT_EQ(error, EBUSY);

    EXPECT_EQ(port.configure(handle, 115200), 0);
    EXPECT_EQ(port.baudRate(), 115200u);
    port.setConfigureError(EINVAL);
    EXPECT_EQ(port.configure(handle, 9600), EINVAL);
    EXPECT_EQ(port.baudRate(), 115200u);
    port.setTimeoutsError(EIO);
    EXPECT_EQ(port.setReadTimeouts(handle), EIO);
    port.setTimeoutsError(0);
    EXPECT_EQ(port.setReadTimeouts(handle), 0);
    EXPECT_EQ(port.opens(), 1);
}

TEST_F(MemoryPortTest, UsingAHandleThatIsNotOpenIsCountedAndRefused)
{
    const PortHandleType handle = openCom7();
    port.close(handle);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.staleHandleUses(), 0);

    int error = 0;
    EXPECT_EQ(send(handle, "90/"), EBADF);
    readOnce(handle, &error);
    EXPECT_EQ(error, EBADF);
    EXPECT_EQ(port.configure(handle, 9600), EBADF);
    EXPECT_EQ(port.setReadTimeouts(kNoPort), EBADF);
    port.close(handle);
    EXPECT_EQ(port.staleHandleUses(), 5);
    EXPECT_EQ(port.closes(), 1);
    EXPECT_TRUE(board.frames().empty()) << "nothing reached the board";

    // A new open gets a new handle; the old one stays stale.
    const PortHandleType again = openCom7();
    EXPECT_NE(again, handle);
    EXPECT_EQ(send(handle, "90/"), EBADF);
    EXPECT_EQ(port.staleHandleUses(), 6);
}

TEST_F(MemoryPortTest, LostDeviceFailsEveryUseUntilReattached)
{
    const PortHandleType handle = openCom7();
    port.loseDevice();
    int error = 0;
    EXPECT_EQ(send(handle, "90/"), EIO);
    readOnce(handle, &error);
    EXPECT_EQ(error, EIO);
    EXPECT_EQ(port.staleHandleUses(), 0) << "the handle is still the open one";

    port.close(handle);
    EXPECT_EQ(port.open(7, error), kNoPort);
    EXPECT_EQ(error, ENOENT);

    port.attach(7, board);
    const PortHandleType again = openCom7();
    EXPECT_EQ(send(again, "90/"), 0);
    EXPECT_EQ(readOnce(again), "AC\r\n");
}

}  // namespace
}  // namespace stripmixer
