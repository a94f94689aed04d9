#pragma once

// The main window: every control of the design, the start-up, the status indicator, the log
// and the ways the program ends. The handlers of each group of controls live in their own
// source (connection_handlers.cpp, colour_handlers.cpp, effect_handlers.cpp,
// pixel_handlers.cpp, level_handlers.cpp, panel_handlers.cpp).

#include "arduino_nano.h"
#include "link_host.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace stripmixer {

class ClickableLabel;
class CommunicationLog;
class DesignFrame;
class FormZoeken;

class StripMixer : public QWidget, public LinkHost {
    Q_OBJECT
public:
    using MessageBoxHook =
        std::function<void(const QString &text, MessageIcon icon, const QString &title)>;

    // The title of message boxes that bring none of their own.
    static constexpr const char *kApplicationTitle = "StripMixer";
    // Client width compact (the log panel cut off) and wide; the height never changes.
    static constexpr int kCompactWidth = 8025 / 15;
    static constexpr int kWideWidth = 10905 / 15;
    static constexpr int kHeight = 10005 / 15;

    StripMixer(SerialPort &port, Clock &clock, QWidget *parent = nullptr);
    ~StripMixer() override;

    // The design's faces where the machine lacks them: "Comic Sans MS" as Comic Neue,
    // "MS Sans Serif" as DejaVu Sans. The window installs them itself; calling again is harmless.
    static void installFonts();

    // Every message box goes through here; with a hook set, the hook sees it instead of the user.
    static void setMessageBoxHook(MessageBoxHook hook);
    void showMessage(const QString &text, MessageIcon icon = MessageIcon::None,
                     const QString &title = {});

    // What ending does after the port is closed. The default leaves the process at once, because
    // handlers may sit in nested waits whose remaining steps must not run.
    void setEndAction(std::function<void()> action);

    ArduinoNano &link() { return m_link; }
    // The search window while it is loaded, else null.
    FormZoeken *formZoeken() const { return m_formZoeken.get(); }
    // The log's exact text: every entry as CR, entry, CR.
    QString communicationText() const;

    void SetStatus(int code) override;
    void SelectedColor();
    // Lists every Com port that opens now, in ascending order; the combo shows the highest.
    void scanPorts();

    // LinkHost
    bool isReadyVisible() const override;
    bool isBusyVisible() const override;
    void appendToLog(const std::string &entry) override;
    void messageBox(const std::string &text, MessageIcon icon = MessageIcon::None,
                    const std::string &title = {}) override;
    void showSearchWindow() override;
    void hideSearchWindow() override;
    void unloadSearchWindow() override;
    std::string portComboText() const override;
    std::string baudComboText() const override;
    int redPosition() const override;
    int greenPosition() const override;
    int bluePosition() const override;
    int waitValue() const override;
    void showNumPixels(const std::string &count) override;
    void clearEffectInfo() override;
    void showConnected() override;
    void showDisconnected() override;
    void connectionLost() override;

    // Connection controls (connection_handlers.cpp)
    void CMD_ZoekPoorten_Click();
    void CMD_Verbind_Click();
    void ComboBaudRate_Click();
    void ResetConnection();
    void Timer_CheckInterface_Timer();

    // Ending
    void CMD_Close_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Start-up, in the designed order.
    void Form_Load();
    // Closes the port if one is open, then ends.
    void endProgram();

    // One builder per container (layout.cpp).
    void buildWindow();
    void buildColorMixer();
    void buildSpeed();
    void buildBrightness();
    void buildNumCycles();
    void buildNumLeds();
    void buildEffects();
    void buildSetPixel();
    void buildCommunication();
    void buildCommand();
    void buildLogPanel();
    void buildStatusBar();
    void connectSignals();

    // A graphical button shows the picture a hidden picture box holds, white left out.
    static void showButtonPicture(QPushButton *button, const QLabel *pictureBox);

    ArduinoNano m_link;
    std::function<void()> m_endAction;
    // Created when first shown, destroyed when unloaded; shown again, it starts afresh.
    std::unique_ptr<FormZoeken> m_formZoeken;
    // The window's background picture; a null picture shows the background colour alone.
    QPixmap m_backgroundPicture;

public:
    // The controls, named as designed (their object names are the same).
    QLabel *Picture1 = nullptr;
    ClickableLabel *Image_Transparent_Frame = nullptr;
    ClickableLabel *Label_Kop = nullptr;
    QLabel *Picture_Disconnect = nullptr;
    QLabel *Picture_Backup = nullptr;

    DesignFrame *Frame6 = nullptr;
    DesignFrame *Frame_Red = nullptr;
    DesignFrame *Frame_Green = nullptr;
    DesignFrame *Frame_Blue = nullptr;
    DesignFrame *Frame_Red_BackColor = nullptr;
    DesignFrame *Frame_Green_BackColor = nullptr;
    DesignFrame *Frame_Blue_BackColor = nullptr;
    QScrollBar *VScroll_Red = nullptr;
    QScrollBar *VScroll_Green = nullptr;
    QScrollBar *VScroll_Blue = nullptr;
    QLabel *Label_Red = nullptr;
    QLabel *Label_Green = nullptr;
    QLabel *Label_Blue = nullptr;
    QFrame *Picture_Selected_Color = nullptr;
    QPushButton *CMD_ShowColor = nullptr;

    DesignFrame *Frame1 = nullptr;
    QScrollBar *HScroll_Wait = nullptr;
    QLabel *Label_Wait = nullptr;
    DesignFrame *Frame9 = nullptr;
    QScrollBar *HScroll_Brightness = nullptr;
    QLabel *Label_Brightness = nullptr;
    DesignFrame *Frame2 = nullptr;
    QScrollBar *HScroll_NumCycles = nullptr;
    QLabel *Label_NumCycles = nullptr;
    QLabel *Label_Round = nullptr;
    QPushButton *CMD_Break = nullptr;
    DesignFrame *Frame3 = nullptr;
    QPushButton *CMD_GetNumPixels = nullptr;
    QLabel *Label_NumPixels = nullptr;
    QPushButton *CMD_SetNumPixels = nullptr;
    QLineEdit *Text_NumPixels = nullptr;

    DesignFrame *Frame5 = nullptr;
    // Indices 0 … 8, 12 and 13: the index is the effect code sent.
    std::map<int, QPushButton *> CMD_Bottom_Top;
    QPushButton *CMD_All_Animations = nullptr;
    QPushButton *CMD_Reset_Leds = nullptr;
    QLabel *Label_Info = nullptr;

    DesignFrame *Frame7 = nullptr;
    // Indices 1 … 16: pixel k - 1 of the strip.
    std::map<int, QPushButton *> CMD_SetPixel;

    DesignFrame *Frame_Communication = nullptr;
    QFrame *Picture_Status = nullptr;
    QLabel *Label_NotConnected = nullptr;
    QLabel *Label_Busy = nullptr;
    QLabel *Label_Ready = nullptr;
    QComboBox *ComboPoorten = nullptr;
    QComboBox *ComboBaudRate = nullptr;
    QPushButton *CMD_ZoekPoorten = nullptr;
    QPushButton *CMD_Verbind = nullptr;  // property "tag": "Connect" or "Disconnect"

    DesignFrame *Frame_Command = nullptr;
    QPushButton *CMD_Set_BGND_Color = nullptr;
    QPushButton *CMD_Reset_Backgroud_Img = nullptr;
    QPushButton *CMD_Close = nullptr;

    DesignFrame *Frame8 = nullptr;
    QPushButton *CMD_Clear_text = nullptr;
    CommunicationLog *Text_Communication = nullptr;
    QLabel *Picture_Connect = nullptr;

    QLabel *Label_Status_Baud = nullptr;
    QLabel *Label_Status_Connected = nullptr;
    ClickableLabel *Label_Status_Halvorne = nullptr;

    QTimer *Timer_CheckInterface = nullptr;
};

}  // namespace stripmixer
