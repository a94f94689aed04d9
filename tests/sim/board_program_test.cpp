// stripmixer-board in real time: the real POSIX port talks to it over its pseudo-terminal.

#include "board_process.h"
#include "pty.h"
#include "read_answers.h"
#include "serial_port_posix.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace stripmixer {
namespace {

using namespace std::chrono_literals;

class BoardProgram : public ::testing::Test {
protected:
    ~BoardProgram() override
    {
        if (handle != kNoPort)
            closePort();
    }

    QString linkPath() const { return board.linkPath(); }
    std::vector<std::string> transcriptLines() const { return board.transcriptLines(); }

    // Starts the board as Com 7 and waits (bounded) for its link.
    void startBoard(QStringList extra = {})
    {
        ASSERT_FALSE(comDir.path().empty());
        ASSERT_TRUE(board.start(comDir.path(), 7, extra)) << "the board made no link";
    }

    void openPort()
    {
        int error = 0;
        handle = port.open(7, error);
        ASSERT_NE(handle, kNoPort) << "open failed with " << error;
        ASSERT_EQ(port.configure(handle, 115200), 0);
        ASSERT_EQ(port.setReadTimeouts(handle), 0);
    }

    void closePort()
    {
        port.close(handle);
        handle = kNoPort;
    }

    void send(std::string_view bytes)
    {
        std::size_t written = 0;
        ASSERT_EQ(port.write(handle, reinterpret_cast<const std::uint8_t *>(bytes.data()),
                             bytes.size(), written),
                  0);
        ASSERT_EQ(written, bytes.size());
    }

    std::string readAnswers(int lines = 1, std::chrono::milliseconds bound = 5000ms)
    {
        return test::readAnswers(port, handle, lines, bound);
    }

    test::ComDir comDir;
    test::BoardProcess board;
    PosixSerialPort port{comDir.path()};
    PortHandleType handle = kNoPort;
};

TEST_F(BoardProgram, AnswersFramesWholeAndSplit)
{
    startBoard();
    openPort();

    send("90/");
    EXPECT_EQ(readAnswers(), "AC\r\n");
    send("91/");
    EXPECT_EQ(readAnswers(), "NP16\r\n");

    // A frame in two writes, the second after the board has surely seen the first.
    send("9");
    EXPECT_EQ(readAnswers(1, 100ms), "");
    send("1/");
    EXPECT_EQ(readAnswers(), "NP16\r\n");

    send("82/150/20/255/");  // no answer to the brightness
    EXPECT_EQ(readAnswers(), "OK\r\n");
    send("nonsense/");
    EXPECT_EQ(readAnswers(), "ER\r\n");
}

TEST_F(BoardProgram, TranscriptMatchesTheConversation)
{
    startBoard({QStringLiteral("--time-scale"), QStringLiteral("0.05")});
    openPort();
    send("90/");
    ASSERT_EQ(readAnswers(), "AC\r\n");
    send("82/");
    send("99/");
    send("0/");  // an effect: its answer comes when it has played
    ASSERT_EQ(readAnswers(), "RE\r\n");
    send("92/5/");
    ASSERT_EQ(readAnswers(), "NP5\r\n");

    const std::vector<std::string> expected = {"-> 90/", "<- AC", "-> 82/99/", "-> 0/",
                                               "<- RE",  "-> 92/5/", "<- NP5"};
    // Flushed as it goes: the last line is there soon after its answer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return transcriptLines().size() >= expected.size(); }, 5000));
    EXPECT_EQ(transcriptLines(), expected);
}

TEST_F(BoardProgram, OptionsChooseSignatureAndLength)
{
    startBoard({QStringLiteral("--signature"), QStringLiteral("TM1638"),
                QStringLiteral("--num-pixels"), QStringLiteral("30"),
                QStringLiteral("--answer-brightness")});
    openPort();
    send("90/91/82/7/");
    EXPECT_EQ(readAnswers(3), "TM1638\r\nNP30\r\nOK\r\n");
}

TEST_F(BoardProgram, ServesOneClientAfterAnother)
{
    // The board keeps its side open between clients: a second connection must work just like
    // the first, and must not see what was left unread by the first.
    startBoard({QStringLiteral("--answer-brightness")});
    openPort();
    send("90/");
    ASSERT_EQ(readAnswers(), "AC\r\n");
    send("82/40/");  // "OK" left unread
    ASSERT_TRUE(QTest::qWaitFor([&] { return transcriptLines().size() >= 4; }, 5000));
    closePort();

    openPort();
    send("91/");
    EXPECT_EQ(readAnswers(), "NP16\r\n");
    EXPECT_EQ(board.process().state(), QProcess::Running);
}

TEST_F(BoardProgram, SigtermEndsCleanlyAndRemovesTheLink)
{
    startBoard();
    openPort();
    send("90/");
    ASSERT_EQ(readAnswers(), "AC\r\n");

    board.process().terminate();
    ASSERT_TRUE(board.process().waitForFinished(10000));
    EXPECT_EQ(board.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(board.process().exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(linkPath()));
    EXPECT_FALSE(QFileInfo(linkPath()).isSymLink());
}

TEST_F(BoardProgram, LeavesALiveBoardsLinkAlone)
{
    startBoard();
    QProcess second;
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QStringLiteral(STRIPMIXER_BOARD_PATH),
                 {QStringLiteral("--com-dir"), QString::fromStdString(comDir.path()),
                  QStringLiteral("--com"), QStringLiteral("7")});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_TRUE(second.readAll().contains("already taken"));

    openPort();
    send("90/");
    EXPECT_EQ(readAnswers(), "AC\r\n") << "the first board still serves Com 7";
}

TEST(BoardProgramOptions, BadOptionsAreRefusedWithAMessage)
{
    const QStringList cases[] = {
        {QStringLiteral("--com"), QStringLiteral("0"), QStringLiteral("--com-dir"), QStringLiteral("/tmp")},
        {QStringLiteral("--num-pixels"), QStringLiteral("100"), QStringLiteral("--com-dir"), QStringLiteral("/tmp")},
        {QStringLiteral("--time-scale"), QStringLiteral("fast"), QStringLiteral("--com-dir"), QStringLiteral("/tmp")},
        {QStringLiteral("--no-such-option")},
    };
    for (const QStringList &arguments : cases) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(STRIPMIXER_BOARD_PATH), arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(process.readAll().startsWith("stripmixer-board: "));
    }

    QProcess help;
    help.start(QStringLiteral(STRIPMIXER_BOARD_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char *option : {"--com-dir", "--com", "--signature", "--silent", "--num-pixels",
                               "--time-scale", "--answer-brightness", "--transcript", "--view"})
        EXPECT_TRUE(text.contains(option)) << option;
}

}  // namespace
}  // namespace stripmixer
