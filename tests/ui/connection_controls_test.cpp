// Find Com Ports, the baud list, Connect/Disconnect and the check timer, through the window.

#include "form_zoeken.h"
#include "window_printers.h"
#include "window_rig.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cerrno>

namespace stripmixer::test {
namespace {

const std::vector<std::string> kHandshake = {"90/", "91/", "20/50/", "21/50/", "22/50/", "50/",
                                             "80/450/"};

class ConnectionControls : public WindowRig {
protected:
    QPushButton *connectButton() const { return control<QPushButton>("CMD_Verbind"); }
    QString tag() const { return connectButton()->property("tag").toString(); }
    QTimer *checkTimer() const { return window->findChild<QTimer *>("Timer_CheckInterface"); }
    QString status() const
    {
        for (const char *name : {"Label_NotConnected", "Label_Ready", "Label_Busy"}) {
            if (!control(name)->isHidden())
                return control<QLabel>(name)->text();
        }
        return {};
    }
    void clickConnect() { QTest::mouseClick(connectButton(), Qt::LeftButton); }

    // The window shows "Not connected" everywhere and can connect again.
    void expectDisconnected()
    {
        EXPECT_FALSE(window->link().isConnected());
        EXPECT_EQ(tag(), "Connect");
        EXPECT_EQ(status(), "Not connected");
        EXPECT_EQ(control<QLabel>("Label_Status_Connected")->text(), "Not connected");
        EXPECT_EQ(backOf(control("Label_Status_Connected")), QColor(255, 0, 0));
        EXPECT_TRUE(control("ComboBaudRate")->isEnabled());
        EXPECT_TRUE(connectButton()->isEnabled());
        EXPECT_FALSE(checkTimer()->isActive());
        EXPECT_FALSE(port.isOpen());
    }
};

TEST_F(ConnectionControls, ConnectingToTheBoardEndsReadyWithTheBrightnessSent)
{
    BoardModel &board = addBoard(7);
    open();

    // Halfway through the two-second wait the window is live and shows the attempt.
    bool checkedDuringWait = false;
    clock.at(1.0, [&] {
        checkedDuringWait = true;
        EXPECT_EQ(status(), "Busy");
        EXPECT_EQ(tag(), "Disconnect");
        EXPECT_FALSE(connectButton()->isEnabled());
        EXPECT_FALSE(control("ComboBaudRate")->isEnabled());
        ASSERT_NE(window->formZoeken(), nullptr);
        EXPECT_FALSE(window->formZoeken()->isHidden());
    });
    clickConnect();

    EXPECT_TRUE(checkedDuringWait);
    EXPECT_EQ(board.frames(), kHandshake);
    EXPECT_EQ(control<QLabel>("Label_Status_Connected")->text(), "Connected");
    EXPECT_EQ(backOf(control("Label_Status_Connected")), QColor(128, 255, 128));
    EXPECT_EQ(control<QLabel>("Label_NumPixels")->text(), "16");
    EXPECT_EQ(window->formZoeken(), nullptr);  // unloaded by the "AC" answer
    EXPECT_TRUE(connectButton()->isEnabled());
    ASSERT_TRUE(checkTimer()->isActive());
    EXPECT_EQ(checkTimer()->interval(), 2000);

    window->Timer_CheckInterface_Timer();

    EXPECT_FALSE(checkTimer()->isActive());
    EXPECT_EQ(board.frames().back(), "82/150/");
    EXPECT_EQ(status(), "Ready");
    EXPECT_EQ(tag(), "Disconnect");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ConnectionControls, DisconnectClosesThePortAndSendsNothing)
{
    BoardModel &board = addBoard(7);
    open();
    clickConnect();
    window->Timer_CheckInterface_Timer();
    const std::size_t framesBefore = board.frames().size();

    clickConnect();

    expectDisconnected();
    EXPECT_EQ(board.frames().size(), framesBefore);
    EXPECT_EQ(window->link().InterfaceFound, 0);
}

TEST_F(ConnectionControls, NotFoundInThePortListDoesNothing)
{
    open();
    clickConnect();
    expectDisconnected();
    EXPECT_EQ(port.opens(), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(window->communicationText().isEmpty());
}

struct FailedConnect {
    const char *name;
    bool board;           // a board behind Com 7
    BoardOptions options;
    int openError;        // opening Com 7 fails with this
    int timeoutsError;    // setting the read time-outs fails with this
    QString message;      // the start of the one box shown, or empty for none
};

class FailedConnects : public ConnectionControls,
                       public ::testing::WithParamInterface<FailedConnect> {};

TEST_P(FailedConnects, EndDisconnected)
{
    const FailedConnect &c = GetParam();
    if (c.board)
        addBoard(7, c.options);
    if (c.openError)
        port.setOpenError(7, c.openError);
    port.setTimeoutsError(c.timeoutsError);
    open();
    control<QComboBox>("ComboPoorten")->setEditText("Com 7");

    clickConnect();

    expectDisconnected();
    if (c.message.isEmpty()) {
        EXPECT_TRUE(boxes.empty());
    } else {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(c.message)) << boxes[0].text.toStdString();
    }
    if (window->formZoeken()) {
        EXPECT_TRUE(window->formZoeken()->isHidden());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedConnects,
    ::testing::Values(
        FailedConnect{"Missing", false, {}, 0, 0, "The serial port does not exist"},
        FailedConnect{"InUse", false, {}, EBUSY, 0, "The serial port is used by another program"},
        FailedConnect{"Silent", true, {.signature = "", .silent = true}, 0, 0, ""},
        FailedConnect{"WrongSketch", true, {.signature = "TM1638"}, 0, 0,
                      "Er is een Arduino gevonden"},
        FailedConnect{"TimeoutsRefused", true, {}, 0, EINVAL,
                      "SetCommTimeouts failed, the error code is  22"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConnectionControls, CheckTimerWithoutIdentificationSaysSoAndCloses)
{
    addBoard(7);
    open();
    clickConnect();
    // A port that is open while the board has not said who it is.
    window->link().InterfaceFound = 0;

    window->Timer_CheckInterface_Timer();

    expectDisconnected();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(boxes[0].title, "StripMixer");
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    EXPECT_EQ(boxes[0].text, "No Arduino found on Com 7!\r\rHave you uploaded the correct .ino "
                             "file in the Arduino?\rIt can be found in...\r"
                                 + folder + "\r");
}

TEST_F(ConnectionControls, ClicksWhileBusyAreIgnored)
{
    addBoard(7);
    open();
    window->SetStatus(2);
    const int probes = port.opens();  // the port scan at start-up opens every port once
    clickConnect();
    EXPECT_EQ(port.opens(), probes);
    EXPECT_EQ(tag(), "Connect");
    EXPECT_TRUE(connectButton()->isEnabled());
}

TEST_F(ConnectionControls, FindComPortsRescansOnlyWhileDisconnected)
{
    addBoard(3);
    open();
    auto *ports = control<QComboBox>("ComboPoorten");
    ports->setEditText("Com 3");
    clickConnect();
    addBoard(9);

    QTest::mouseClick(control<QPushButton>("CMD_ZoekPoorten"), Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Please first click Disconnect!");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Critical);
    EXPECT_EQ(boxes[0].title, "Connected at this moment.");
    EXPECT_EQ(ports->count(), 1);

    clickConnect();  // Disconnect
    QTest::mouseClick(control<QPushButton>("CMD_ZoekPoorten"), Qt::LeftButton);
    EXPECT_EQ(boxes.size(), 1u);
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->itemText(1), "Com 9");
    EXPECT_EQ(ports->currentText(), "Com 9");
}

TEST_F(ConnectionControls, PickedBaudRateIsShownAndUsedAtTheNextConnect)
{
    addBoard(7);
    open();
    auto *baud = control<QComboBox>("ComboBaudRate");
    baud->setEditText("19200");  // typing alone changes nothing
    baud->setEditText("Baud Rate");
    EXPECT_EQ(control<QLabel>("Label_Status_Baud")->text(), "115200 Baud");

    const int probes = port.opens();
    baud->setCurrentIndex(0);
    emit baud->activated(0);
    EXPECT_EQ(control<QLabel>("Label_Status_Baud")->text(), "9600 Baud");
    EXPECT_EQ(port.opens(), probes);

    clickConnect();
    EXPECT_EQ(port.baudRate(), 9600u);
}

TEST_F(ConnectionControls, ADeviceLostWhileConnectedLeavesOneMessageAndAWorkingWindow)
{
    BoardModel &board = addBoard(7);
    open();
    clickConnect();
    window->Timer_CheckInterface_Timer();
    ASSERT_EQ(status(), "Ready");

    port.loseDevice();
    window->link().SendCommand("91/");
    window->link().ReadAnswer();
    window->link().ReadAnswer();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "WriteFile failed, the error code is  5");
    expectDisconnected();
    EXPECT_EQ(port.staleHandleUses(), 0);

    // Plugged in again, the same window connects as before.
    BoardModel &again = addBoard(7);
    clickConnect();
    EXPECT_TRUE(window->link().isConnected());
    EXPECT_EQ(again.frames(), kHandshake);
    (void)board;
}

TEST_F(ConnectionControls, ADeviceLostUnderTheBrightnessFrameDoesNotShowReady)
{
    addBoard(7);
    open();
    clickConnect();
    port.loseDevice();

    window->Timer_CheckInterface_Timer();

    ASSERT_EQ(boxes.size(), 1u);
    expectDisconnected();
}

}  // namespace
}  // namespace stripmixer::test
