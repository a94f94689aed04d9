// The main window at start-up, its status indicator, its log, its message boxes and ending.

#include "board_model.h"
#include "communication_log.h"
#include "memory_port.h"
#include "strip_mixer.h"
#include "virtual_clock.h"
#include "window_printers.h"
#include "window_rig.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <memory>
#include <string>
#include <vector>

using namespace stripmixer;
using test::backOf;
using windowtest::show;

namespace {

class MainWindowTest : public test::WindowRig {
protected:
    QStringList portList() const
    {
        QStringList items;
        auto *combo = control<QComboBox>("ComboPoorten");
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
};

TEST_F(MainWindowTest, StartsCompactNotConnectedWithTheDesignValues)
{
    StripMixer &w = open();

    EXPECT_EQ(show(w.windowTitle()), "StripMixer 2.5.0");
    EXPECT_EQ(w.width(), 535);
    EXPECT_EQ(w.height(), 667);
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the window must not be resizable";
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_FALSE(control("Label_NotConnected")->isHidden());
    EXPECT_TRUE(control("Label_Ready")->isHidden());
    EXPECT_TRUE(control("Label_Busy")->isHidden());
    EXPECT_EQ(show(backOf(control("Picture_Status"))), show(QColor(255, 0, 0)));

    auto *baud = control<QComboBox>("ComboBaudRate");
    QStringList rates;
    for (int i = 0; i < baud->count(); ++i)
        rates << baud->itemText(i);
    EXPECT_EQ(show(rates.join(',')), "9600,14400,19200,38400,57600,115200,128000");
    EXPECT_EQ(show(baud->currentText()), "Baud Rate");
    EXPECT_EQ(w.baudComboText(), "Baud Rate");

    EXPECT_EQ(show(control<QLabel>("Label_Status_Baud")->text()), "115200 Baud");
    auto *connected = control<QLabel>("Label_Status_Connected");
    EXPECT_EQ(show(connected->text()), "Not connected");
    EXPECT_EQ(show(backOf(connected)), show(backOf(control("Label_NotConnected"))));

    EXPECT_EQ(show(backOf(control("Picture_Selected_Color"))), show(QColor(50, 50, 50)));

    auto *timer = w.findChild<QTimer *>("Timer_CheckInterface");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_EQ(show(control<QPushButton>("CMD_Verbind")->property("tag").toString()), "Connect");
    EXPECT_TRUE(w.communicationText().isEmpty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, WithoutPortsTheListIsEmptyAndSaysNotFound)
{
    StripMixer &w = open();
    EXPECT_TRUE(portList().isEmpty());
    EXPECT_EQ(show(control<QComboBox>("ComboPoorten")->currentText()), "Not found");
    EXPECT_EQ(w.portComboText(), "Not found");
}

TEST_F(MainWindowTest, ListsThePortsThatOpenAndShowsTheHighest)
{
    addBoard(7);
    addBoard(3);
    port.setOpenError(5, EBUSY);  // held by another program: not listed
    StripMixer &w = open();

    EXPECT_EQ(show(portList().join(',')), "Com 3,Com 7");
    EXPECT_EQ(show(control<QComboBox>("ComboPoorten")->currentText()), "Com 7");
    EXPECT_EQ(w.portComboText(), "Com 7");

    // Each probe closes what it opened, and the link holds no port.
    EXPECT_EQ(port.opens(), 2);
    EXPECT_EQ(port.closes(), 2);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(w.link().isConnected());

    // The user can see which device each number means.
    const QString tip = control("ComboPoorten")->toolTip();
    EXPECT_TRUE(tip.contains(QString::fromStdString(port.deviceName(3)))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromStdString(port.deviceName(7)))) << tip.toStdString();
}

TEST_F(MainWindowTest, PortsRefusedForWantOfPermissionAreExplainedNotListed)
{
    addBoard(7);
    port.setOpenError(33, EACCES);
    port.setOpenError(5, EBUSY);
    open();

    EXPECT_EQ(portList(), QStringList{"Com 7"});
    const QString tip = control("ComboPoorten")->toolTip();
    EXPECT_TRUE(tip.contains("Com 33: Access to ")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("log out and in again")) << tip.toStdString();
    EXPECT_FALSE(tip.contains("Com 5")) << tip.toStdString();
}

TEST_F(MainWindowTest, RescanningReplacesTheList)
{
    addBoard(3);
    StripMixer &w = open();
    addBoard(12);
    w.scanPorts();
    EXPECT_EQ(show(portList().join(',')), "Com 3,Com 12");
    EXPECT_EQ(w.portComboText(), "Com 12");
}

TEST_F(MainWindowTest, SetStatusShowsExactlyOneLabelAndIgnoresOtherCodes)
{
    StripMixer &w = open();
    const char *labels[] = {"Label_NotConnected", "Label_Ready", "Label_Busy"};
    const QColor colours[] = {QColor(255, 0, 0), QColor(128, 255, 128), QColor(255, 255, 0)};

    for (int before : {0, 1, 2}) {
        for (int code : {0, 1, 2, 5, -1}) {
            SCOPED_TRACE(testing::Message() << "from " << before << " to " << code);
            w.SetStatus(before);
            w.SetStatus(code);
            const int shown = code >= 0 && code <= 2 ? code : before;
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(control(labels[i])->isHidden(), i != shown) << labels[i];
            EXPECT_EQ(show(backOf(control("Picture_Status"))), show(colours[shown]));
            EXPECT_EQ(w.isReadyVisible(), shown == 1);
            EXPECT_EQ(w.isBusyVisible(), shown == 2);
        }
    }
}

TEST_F(MainWindowTest, SendingWithoutAPortShowsBusyAndLogsTheFrame)
{
    StripMixer &w = open();
    w.link().SendCommand("91/");
    EXPECT_TRUE(w.isBusyVisible());
    EXPECT_EQ(show(w.communicationText()), "\\r91/\\r");
    EXPECT_TRUE(port.written().empty());
}

TEST_F(MainWindowTest, AnExchangeIsLoggedAndTheAnswerReachesTheWindow)
{
    addBoard(3);
    StripMixer &w = open();
    int error = 0;
    w.link().PortHandle = port.open(3, error);
    ASSERT_TRUE(w.link().isConnected());

    w.link().SendCommand("91/");
    clock.Pause(0.2);
    w.link().ReadAnswer();

    EXPECT_EQ(show(w.communicationText()), show(QStringLiteral("\r91/\r\rNP16\r\n\r")));
    EXPECT_EQ(show(control<QLabel>("Label_NumPixels")->text()), "16");
    EXPECT_TRUE(w.isReadyVisible());
}

// ---- the log ----

TEST_F(MainWindowTest, TheLogKeepsTheExactTextOfEveryEntry)
{
    StripMixer &w = open();
    w.appendToLog("91/");
    w.appendToLog("NP16\r\n");
    w.appendToLog(std::string("A\0B", 3));
    EXPECT_EQ(show(w.communicationText()), show(QString::fromLatin1("\r91/\r\rNP16\r\n\r\rA\0B\r", 18)));
}

TEST_F(MainWindowTest, TheLogShowsAnyBytesWithoutBreakingItsLines)
{
    struct Case {
        std::string entry;
        QStringList lines;  // the entry's lines on screen
    };
    const Case cases[] = {
        {"91/", {"91/"}},
        {"NP16\r\n", {"NP16", ""}},                       // CR breaks, LF is not shown
        {"RE\n", {"RE"}},
        {std::string("A\0B", 3), {QString("A") + QChar(0x2400) + "B"}},
        {"\xff\xfe", {QString(QChar(0xFF)) + QChar(0xFE)}},
        {"\x01\x1b\x7f", {QString(QChar(0x2401)) + QChar(0x241B) + QChar(0x2421)}},
        {"\x85x", {QString(QChar(QChar::ReplacementCharacter)) + "x"}},  // NEL would break a line
    };
    for (const Case &c : cases) {
        StripMixer &w = open();
        SCOPED_TRACE(QString::fromLatin1(c.entry.data(), qsizetype(c.entry.size())).toStdString());
        w.appendToLog(c.entry);
        const QString shown = control<QPlainTextEdit>("Text_Communication")->toPlainText();
        // Every entry starts and ends with a CR: an empty line before it and after it.
        EXPECT_EQ(show(shown), show(QStringList(QStringList{""} + c.lines + QStringList{""}).join('\n')));
    }
}

TEST_F(MainWindowTest, TheCaretFollowsTheEndOfTheLog)
{
    StripMixer &w = open();
    auto *log = control<QPlainTextEdit>("Text_Communication");
    w.appendToLog("91/");
    EXPECT_TRUE(log->textCursor().atEnd());

    QTextCursor start = log->textCursor();
    start.movePosition(QTextCursor::Start);
    log->setTextCursor(start);
    w.appendToLog("NP16\r\n");
    EXPECT_TRUE(log->textCursor().atEnd());
    EXPECT_FALSE(log->textCursor().hasSelection());
}

TEST_F(MainWindowTest, TheLogIsReadOnlyAndKeepsNoUndoHistory)
{
    StripMixer &w = open();
    auto *log = control<QPlainTextEdit>("Text_Communication");
    for (int i = 0; i < 50; ++i)
        w.appendToLog("91/");
    EXPECT_TRUE(log->isReadOnly());
    EXPECT_FALSE(log->document()->isUndoAvailable());
    EXPECT_EQ(log->document()->availableUndoSteps(), 0);
}

// ---- message boxes ----

TEST_F(MainWindowTest, MessageBoxesWithoutATitleCarryTheApplicationsTitle)
{
    StripMixer &w = open();
    w.messageBox("The serial port does not exist");
    w.messageBox("Please first click Disconnect!", MessageIcon::Critical, "Connected at this moment.");
    w.messageBox("line one\r\rline \xe9");

    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(show(boxes[0].text), "The serial port does not exist");
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_EQ(show(boxes[0].title), "StripMixer");
    EXPECT_EQ(boxes[1].icon, MessageIcon::Critical);
    EXPECT_EQ(show(boxes[1].title), "Connected at this moment.");
    // The text arrives as written, its CRs and bytes one to one.
    EXPECT_EQ(show(boxes[2].text), show(QString("line one\r\rline ") + QChar(0xE9)));
}

// ---- ending ----

TEST_F(MainWindowTest, EveryWayOfEndingClosesAnOpenPortThenEnds)
{
    enum class Way { CloseBox, CloseButton };
    for (Way way : {Way::CloseBox, Way::CloseButton}) {
        for (bool portOpen : {true, false}) {
            SCOPED_TRACE(testing::Message() << (way == Way::CloseBox ? "close box" : "Close button")
                                            << (portOpen ? ", port open" : ", no port"));
            VirtualClock time;
            MemoryPort serial(time);
            BoardModel board;
            serial.attach(3, board);
            StripMixer w(serial, time);
            if (portOpen) {
                int error = 0;
                w.link().PortHandle = serial.open(3, error);
                ASSERT_TRUE(serial.isOpen());
            }
            const int closesBefore = serial.closes();
            int ended = 0;
            int closedBeforeEnd = -1;
            w.setEndAction([&] {
                ++ended;
                closedBeforeEnd = serial.closes() - closesBefore;
            });

            if (way == Way::CloseBox)
                w.close();
            else
                QTest::mouseClick(w.findChild<QPushButton *>("CMD_Close"), Qt::LeftButton);

            EXPECT_EQ(ended, 1);
            EXPECT_EQ(closedBeforeEnd, portOpen ? 1 : 0) << "the port closes before the end";
            EXPECT_FALSE(serial.isOpen());
            EXPECT_FALSE(w.link().isConnected());
            EXPECT_EQ(serial.staleHandleUses(), 0);
        }
    }
}

TEST_F(MainWindowTest, CloseWorksFromInsideAWaitWithEvents)
{
    addBoard(3);
    StripMixer &w = open();
    int error = 0;
    w.link().PortHandle = port.open(3, error);
    clock.at(0.5, [&] { QTest::mouseClick(control<QPushButton>("CMD_Close"), Qt::LeftButton); });
    clock.PauseWithEvents(1.0);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
