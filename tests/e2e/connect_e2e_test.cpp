// From the click on Connect to "Ready", in real time: the window, the POSIX port and
// stripmixer-board over a pseudo-terminal.

#include "board_process.h"
#include "pty.h"
#include "qt_clock.h"
#include "serial_port_posix.h"
#include "strip_mixer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace stripmixer::test {
namespace {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        comDir.setEnvironment();
        ASSERT_TRUE(board.start(comDir.path(), 7)) << "stripmixer-board did not come up";
        StripMixer::setMessageBoxHook(
            [this](const QString &text, MessageIcon, const QString &) { boxes << text; });
        window = std::make_unique<StripMixer>(port, clock);
        window->setEndAction([this] { ++ends; });
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        StripMixer::setMessageBoxHook({});
    }

    template <class T = QWidget>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    bool ready() const { return !control("Label_Ready")->isHidden(); }

    void connectAndWaitForReady()
    {
        ASSERT_EQ(control<QComboBox>("ComboPoorten")->currentText(), "Com 7");
        QTest::mouseClick(control<QPushButton>("CMD_Verbind"), Qt::LeftButton);
        ASSERT_TRUE(window->link().isConnected()) << boxes.join(" | ").toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ready(); }, 10000));
    }

    ComDir comDir;
    BoardProcess board;
    PosixSerialPort port;
    QtClock clock;
    std::unique_ptr<StripMixer> window;
    QStringList boxes;
    int ends = 0;
};

TEST_F(EndToEnd, ConnectReachesReadyWithTheHandshakeOnTheWire)
{
    connectAndWaitForReady();

    EXPECT_EQ(control<QLabel>("Label_Status_Connected")->text(), "Connected");
    EXPECT_EQ(control<QLabel>("Label_NumPixels")->text(), "16");
    const std::vector<std::string> expected = {"90/", "91/",     "20/50/", "21/50/",
                                               "22/50/", "50/", "80/450/", "82/150/"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return board.framesReceived() == expected; }, 5000));
    EXPECT_EQ(board.framesReceived(), expected);
    EXPECT_TRUE(window->communicationText().startsWith("\r90/\r\rAC\r\n\r\r91/\r\rNP16\r\n\r"))
        << window->communicationText().toStdString();
    EXPECT_TRUE(boxes.isEmpty());

    // Disconnect lets go of the device: another program may open it now.
    QTest::mouseClick(control<QPushButton>("CMD_Verbind"), Qt::LeftButton);
    EXPECT_FALSE(window->link().isConnected());
    EXPECT_TRUE(window->link().PortExists(7));
}

TEST_F(EndToEnd, ABoardThatGoesAwayLeavesOneMessageAndAWorkingWindow)
{
    connectAndWaitForReady();

    board.process().kill();  // the cable is pulled: the pseudo-terminal hangs up
    ASSERT_TRUE(board.process().waitForFinished(5000));
    window->link().SendCommand("91/");
    window->link().ReadAnswer();
    QTest::mouseClick(control<QPushButton>("CMD_ZoekPoorten"), Qt::LeftButton);

    EXPECT_EQ(boxes.size(), 1) << boxes.join(" | ").toStdString();
    EXPECT_FALSE(window->link().isConnected());
    EXPECT_FALSE(control("Label_NotConnected")->isHidden());
    EXPECT_EQ(control<QPushButton>("CMD_Verbind")->property("tag").toString(), "Connect");
    EXPECT_EQ(control<QComboBox>("ComboPoorten")->currentText(), "Not found");
}

}  // namespace
}  // namespace stripmixer::test
