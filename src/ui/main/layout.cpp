// The window's controls as designed: positions in twips relative to their container, captions,
// colours, fonts, borders, visibility. One builder per container.

#include "strip_mixer.h"

#include "communication_log.h"
#include "design.h"
#include "design_widgets.h"

#include <QBitmap>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <array>

namespace stripmixer {

namespace {

template <class Widget>
Widget *place(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

void setForeColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

DesignFrame *frame(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *box = place(new DesignFrame(caption, parent), name, geometry);
    box->setFont(designFont(Face::Comic, 9.75, true, true));
    box->setCaptionColor(kFrameCaption);
    setBackColor(box, buttonFace());
    return box;
}

// A label as designed: opaque on button face, black text, centred, no border.
QLabel *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
              const QFont &font, bool box)
{
    auto *text = place(new QLabel(caption, parent), name, geometry);
    text->setFont(font);
    text->setAlignment(Qt::AlignCenter);
    setBackColor(text, buttonFace());
    setForeColor(text, Qt::black);
    if (box) {
        text->setFrameShape(QFrame::Box);
        text->setFrameShadow(QFrame::Plain);
        text->setLineWidth(1);
    }
    return text;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption,
                    const QRect &geometry, const QFont &font)
{
    auto *push = place(new QPushButton(caption, parent), name, geometry);
    push->setFont(font);
    return push;
}

QScrollBar *scrollBar(QWidget *parent, const char *name, Qt::Orientation orientation,
                      const QRect &geometry, int min, int max, int smallChange, int largeChange,
                      int value)
{
    auto *bar = place(new QScrollBar(orientation, parent), name, geometry);
    // Scroll bars keep the system look whatever colour their container has.
    setBackColor(bar, buttonFace());
    bar->setAutoFillBackground(false);
    bar->setRange(min, max);
    bar->setSingleStep(smallChange);
    bar->setPageStep(largeChange);
    bar->setValue(value);
    return bar;
}

// A picture box with the standard sunken border.
QLabel *pictureBox(QWidget *parent, const char *name, const QRect &geometry, const QPixmap &picture)
{
    auto *box = place(new QLabel(parent), name, geometry);
    box->setFrameShape(QFrame::WinPanel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!picture.isNull())
        box->setPixmap(picture);
    return box;
}

QComboBox *combo(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *list = place(new QComboBox(parent), name, geometry);
    list->setEditable(true);
    // Enter in the text must not add what was typed to the list.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setFont(designFont(Face::Comic, 9.75));
    return list;
}

QPixmap picture(const char *path)
{
    // A picture that is missing from the resources leaves its control empty.
    return QPixmap(QString::fromLatin1(path));
}

// A graphical button's picture, with white as the mask colour.
void showMaskedPicture(QPushButton *button, QPixmap image)
{
    if (image.isNull()) {
        button->setIcon(QIcon());
        return;
    }
    image.setMask(image.createMaskFromColor(Qt::white, Qt::MaskInColor));
    button->setIcon(QIcon(image));
    button->setIconSize(image.size());
}

}  // namespace

void StripMixer::showButtonPicture(QPushButton *button, const QLabel *pictureBox)
{
    showMaskedPicture(button, pictureBox->pixmap());
}

void StripMixer::buildWindow()
{
    setObjectName(QStringLiteral("StripMixer"));
    setWindowTitle(QStringLiteral("StripMixer API"));
    setBackColor(this, kActiveBorder);
    m_backgroundPicture = picture(":/pictures/background.png");
    const QPixmap icon = picture(":/pictures/icon.png");
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));

    Picture1 = pictureBox(this, "Picture1", twipsRect(0, 0, 2940, 1260), picture(":/pictures/logo.png"));
    Picture1->setAlignment(Qt::AlignCenter);
    setBackColor(Picture1, Qt::black);

    Image_Transparent_Frame = place(new ClickableLabel(this), "Image_Transparent_Frame",
                                    twipsRect(2940, 0, 4995, 1260));
    Image_Transparent_Frame->setFrameShape(QFrame::Box);
    Image_Transparent_Frame->setFrameShadow(QFrame::Plain);
    Image_Transparent_Frame->setLineWidth(1);
    setForeColor(Image_Transparent_Frame, Qt::black);

    Label_Kop = place(new ClickableLabel(this), "Label_Kop", twipsRect(3180, 240, 4500, 675));
    Label_Kop->setText(QStringLiteral("RGB LED controller"));
    Label_Kop->setFont(designFont(Face::Comic, 24, true));
    Label_Kop->setAlignment(Qt::AlignCenter);
    Label_Kop->setAutoFillBackground(false);  // the picture behind shows through
    setForeColor(Label_Kop, kYellow);
    Label_Kop->setToolTip(QStringLiteral("Click to SHOW communication"));

    Picture_Disconnect = pictureBox(this, "Picture_Disconnect", twipsRect(8280, 2490, 1785, 1020),
                                    picture(":/pictures/disconnect.png"));
    Picture_Disconnect->hide();
    Picture_Backup = pictureBox(this, "Picture_Backup", twipsRect(9000, 180, 1335, 675), QPixmap());
    Picture_Backup->hide();

    buildColorMixer();
    buildSpeed();
    buildBrightness();
    buildNumCycles();
    buildNumLeds();
    buildEffects();
    buildSetPixel();
    buildCommunication();
    buildCommand();
    buildLogPanel();
    buildStatusBar();

    Timer_CheckInterface = new QTimer(this);
    Timer_CheckInterface->setObjectName(QStringLiteral("Timer_CheckInterface"));
    Timer_CheckInterface->setInterval(2000);

    // The title sits on its bordered box.
    Image_Transparent_Frame->lower();
    Label_Kop->raise();
}

void StripMixer::buildColorMixer()
{
    Frame6 = frame(this, "Frame6", QStringLiteral("Color mixer"), twipsRect(120, 1380, 3015, 3855));

    struct Colour {
        DesignFrame *StripMixer::*frame;
        DesignFrame *StripMixer::*tint;
        QScrollBar *StripMixer::*bar;
        QLabel *StripMixer::*label;
        const char *frameName, *tintName, *barName, *labelName, *caption;
        int left;
        QColor tintColor;
    };
    const std::array<Colour, 3> colours{{
        {&StripMixer::Frame_Red, &StripMixer::Frame_Red_BackColor, &StripMixer::VScroll_Red,
         &StripMixer::Label_Red, "Frame_Red", "Frame_Red_BackColor", "VScroll_Red", "Label_Red",
         "Red", 120, QColor(85, 0, 0)},
        {&StripMixer::Frame_Green, &StripMixer::Frame_Green_BackColor, &StripMixer::VScroll_Green,
         &StripMixer::Label_Green, "Frame_Green", "Frame_Green_BackColor", "VScroll_Green",
         "Label_Green", "Green", 1080, QColor(0, 128, 0)},
        {&StripMixer::Frame_Blue, &StripMixer::Frame_Blue_BackColor, &StripMixer::VScroll_Blue,
         &StripMixer::Label_Blue, "Frame_Blue", "Frame_Blue_BackColor", "VScroll_Blue", "Label_Blue",
         "Blue", 2040, QColor(0, 0, 128)},
    }};
    for (const Colour &c : colours) {
        DesignFrame *outer = frame(Frame6, c.frameName, QString::fromLatin1(c.caption),
                                   twipsRect(c.left, 360, 855, 2535));
        outer->setFont(designFont(Face::SansSerif, 9.75));
        outer->setCaptionColor(Qt::black);
        DesignFrame *tint = frame(outer, c.tintName, QString(), twipsRect(120, 360, 615, 2055));
        tint->setBorder(false);
        setBackColor(tint, c.tintColor);
        this->*c.frame = outer;
        this->*c.tint = tint;
        this->*c.bar = scrollBar(tint, c.barName, Qt::Vertical, twipsRect(120, 480, 375, 1455),
                                 0, 255, 1, 10, 205);
        this->*c.label = label(tint, c.labelName, QStringLiteral("50"), twipsRect(120, 120, 375, 255),
                               designFont(Face::SansSerif, 9.75), false);
    }

    Picture_Selected_Color = place(new QFrame(Frame6), "Picture_Selected_Color",
                                   twipsRect(120, 2940, 2775, 375));
    Picture_Selected_Color->setFrameShape(QFrame::WinPanel);
    Picture_Selected_Color->setFrameShadow(QFrame::Sunken);
    setBackColor(Picture_Selected_Color, Qt::black);

    CMD_ShowColor = button(Frame6, "CMD_ShowColor", QStringLiteral("Show color on led strip"),
                           twipsRect(120, 3360, 2775, 375), designFont(Face::Comic, 9.75));
}

void StripMixer::buildSpeed()
{
    Frame1 = frame(this, "Frame1", QStringLiteral("Speed"), twipsRect(120, 5340, 3015, 855));
    HScroll_Wait = scrollBar(Frame1, "HScroll_Wait", Qt::Horizontal, twipsRect(120, 360, 2055, 330),
                             0, 500, 10, 50, 50);
    Label_Wait = label(Frame1, "Label_Wait", QStringLiteral("50"), twipsRect(2280, 360, 615, 330),
                       designFont(Face::Comic, 9.75), true);
}

void StripMixer::buildBrightness()
{
    Frame9 = frame(this, "Frame9", QStringLiteral("Brightness"), twipsRect(120, 6300, 3015, 855));
    HScroll_Brightness = scrollBar(Frame9, "HScroll_Brightness", Qt::Horizontal,
                                   twipsRect(120, 360, 2055, 330), 1, 255, 1, 10, 150);
    Label_Brightness = label(Frame9, "Label_Brightness", QStringLiteral("150"),
                             twipsRect(2280, 360, 615, 330), designFont(Face::Comic, 9.75), true);
}

void StripMixer::buildNumCycles()
{
    Frame2 = frame(this, "Frame2", QStringLiteral("Number of cycles"), twipsRect(120, 7260, 3015, 855));
    HScroll_NumCycles = scrollBar(Frame2, "HScroll_NumCycles", Qt::Horizontal,
                                  twipsRect(120, 360, 975, 315), 1, 100, 1, 5, 1);
    Label_NumCycles = label(Frame2, "Label_NumCycles", QStringLiteral("1"),
                            twipsRect(1200, 360, 495, 375), designFont(Face::Comic, 9.75), true);
    Label_Round = label(Frame2, "Label_Round", QStringLiteral("-"), twipsRect(1680, 360, 495, 375),
                        designFont(Face::Comic, 9.75), true);
    CMD_Break = button(Frame2, "CMD_Break", QStringLiteral("Break"), twipsRect(2280, 360, 615, 375),
                       designFont(Face::Comic, 9));
    CMD_Break->setEnabled(false);
}

void StripMixer::buildNumLeds()
{
    Frame3 = frame(this, "Frame3", QStringLiteral("Number of leds"), twipsRect(120, 8220, 3015, 1155));
    CMD_GetNumPixels = button(Frame3, "CMD_GetNumPixels", QStringLiteral("Get NumPixels"),
                              twipsRect(240, 360, 1935, 330), designFont(Face::Comic, 9));
    Label_NumPixels = label(Frame3, "Label_NumPixels", QStringLiteral("-"),
                            twipsRect(2280, 360, 615, 330), designFont(Face::Comic, 9.75), true);
    CMD_SetNumPixels = button(Frame3, "CMD_SetNumPixels", QStringLiteral("Set NumPixels"),
                              twipsRect(240, 720, 1935, 330), designFont(Face::Comic, 9));
    Text_NumPixels = place(new QLineEdit(QStringLiteral("-"), Frame3), "Text_NumPixels",
                           twipsRect(2280, 720, 615, 330));
    Text_NumPixels->setFont(designFont(Face::Comic, 9.75));
    Text_NumPixels->setAlignment(Qt::AlignCenter);
}

void StripMixer::buildEffects()
{
    Frame5 = frame(this, "Frame5", QStringLiteral("Effects (controlled by the Arndino)"),
                   twipsRect(3240, 1380, 4575, 3075));

    struct Effect {
        int index;
        const char *caption;
        QColor backColor;  // invalid: a standard button
        const char *toolTip;
        int left, top;
    };
    const Effect effects[] = {
        {0, "Bottom Top Red", QColor(255, 128, 128), nullptr, 240, 360},
        {1, "Bottom Top Green", QColor(128, 255, 128), nullptr, 240, 720},
        {2, "Bottom Top Blue", QColor(128, 128, 255), nullptr, 240, 1080},
        {12, "Bottom Top RGB", QColor(), "Use selectred RGB color.", 240, 1440},
        {6, "Rainbow", QColor(), nullptr, 240, 1800},
        {8, "TheaterChaseRainbow", QColor(), nullptr, 240, 2160},
        {4, "TheaterChase Red", QColor(255, 128, 128), nullptr, 2400, 360},
        {3, "TheaterChase White", QColor(255, 255, 255), nullptr, 2400, 720},
        {5, "TheaterChase Blue", QColor(128, 128, 255), nullptr, 2400, 1080},
        {13, "Bottom Top RGB RND", QColor(), "RND = random colors.", 2400, 1440},
        {7, "RainbowCycle", QColor(), nullptr, 2400, 1800},
    };
    for (const Effect &effect : effects) {
        const QByteArray name = "CMD_Bottom_Top_" + QByteArray::number(effect.index);
        QPushButton *push = button(Frame5, name.constData(), QString::fromLatin1(effect.caption),
                                   twipsRect(effect.left, effect.top, 1920, 360),
                                   designFont(Face::Comic, 8.25));
        if (effect.backColor.isValid())
            setBackColor(push, effect.backColor);
        if (effect.toolTip)
            push->setToolTip(QString::fromLatin1(effect.toolTip));
        CMD_Bottom_Top[effect.index] = push;
    }

    CMD_All_Animations = button(Frame5, "CMD_All_Animations", QStringLiteral("All Animations"),
                                twipsRect(2400, 2160, 1935, 360), designFont(Face::Comic, 8.25));
    CMD_Reset_Leds = button(Frame5, "CMD_Reset_Leds", QStringLiteral("Reset Leds"),
                            twipsRect(240, 2520, 1920, 360), designFont(Face::Comic, 9));
    setBackColor(CMD_Reset_Leds, QColor(255, 192, 128));
    Label_Info = label(Frame5, "Label_Info", QStringLiteral("-"), twipsRect(2400, 2520, 1935, 360),
                       designFont(Face::Comic, 9), true);
}

void StripMixer::buildSetPixel()
{
    Frame7 = frame(this, "Frame7", QStringLiteral("SetPixel"), twipsRect(3240, 4560, 4575, 1155));
    for (int k = 1; k <= 16; ++k) {
        const int column = (k - 1) % 8;
        const int top = k <= 8 ? 360 : 690;
        const QByteArray name = "CMD_SetPixel_" + QByteArray::number(k);
        QPushButton *push = button(Frame7, name.constData(), QString::number(k),
                                   twipsRect(360 + 480 * column, top, 465, 330),
                                   designFont(Face::Comic, 8.25));
        setBackColor(push, buttonFace());  // off
        CMD_SetPixel[k] = push;
    }
}

void StripMixer::buildCommunication()
{
    Frame_Communication = frame(this, "Frame_Communication", QStringLiteral("Communication"),
                                twipsRect(3240, 5820, 4575, 2535));

    Picture_Status = place(new QFrame(Frame_Communication), "Picture_Status",
                           twipsRect(240, 360, 4095, 360));
    Picture_Status->setFrameShape(QFrame::NoFrame);
    setBackColor(Picture_Status, buttonFace());

    const QFont statusFont = designFont(Face::Comic, 9.75, true, true);
    Label_NotConnected = label(Picture_Status, "Label_NotConnected", QStringLiteral("Not connected"),
                               twipsRect(0, 0, 1755, 360), statusFont, false);
    setBackColor(Label_NotConnected, kRed);
    Label_Busy = label(Picture_Status, "Label_Busy", QStringLiteral("Busy"),
                       twipsRect(1680, 0, 1320, 360), statusFont, false);
    setBackColor(Label_Busy, kYellow);
    Label_Busy->hide();
    Label_Ready = label(Picture_Status, "Label_Ready", QStringLiteral("Ready"),
                        twipsRect(3000, 0, 1035, 360), statusFont, false);
    setBackColor(Label_Ready, kLightGreen);
    Label_Ready->hide();

    ComboPoorten = combo(Frame_Communication, "ComboPoorten", twipsRect(240, 840, 1920, 390));
    ComboBaudRate = combo(Frame_Communication, "ComboBaudRate", twipsRect(2400, 840, 1920, 390));
    ComboBaudRate->setEditText(QStringLiteral("Baud Rate"));

    CMD_ZoekPoorten = button(Frame_Communication, "CMD_ZoekPoorten", QString(),
                             twipsRect(240, 1320, 1920, 1095), designFont(Face::Comic, 9.75));
    CMD_Verbind = button(Frame_Communication, "CMD_Verbind", QString(),
                         twipsRect(2400, 1290, 1920, 1095), designFont(Face::Comic, 9.75));
    CMD_Verbind->setProperty("tag", QStringLiteral("Connect"));
}

void StripMixer::buildCommand()
{
    Frame_Command = frame(this, "Frame_Command", QStringLiteral("Command"),
                          twipsRect(3240, 8460, 4575, 915));
    CMD_Set_BGND_Color = button(Frame_Command, "CMD_Set_BGND_Color", QStringLiteral("Set BGND Color"),
                                twipsRect(300, 360, 1635, 390), designFont(Face::Comic, 9));
    CMD_Reset_Backgroud_Img = button(Frame_Command, "CMD_Reset_Backgroud_Img",
                                     QStringLiteral("Reset BGND Img"),
                                     twipsRect(1920, 360, 1695, 390), designFont(Face::Comic, 9));
    CMD_Close = button(Frame_Command, "CMD_Close", QStringLiteral("Close"),
                       twipsRect(3600, 360, 675, 390), designFont(Face::Comic, 9));
}

void StripMixer::buildLogPanel()
{
    Frame8 = frame(this, "Frame8", QStringLiteral("Communication"), twipsRect(7920, 1395, 2775, 8475));
    CMD_Clear_text = button(Frame8, "CMD_Clear_text", QStringLiteral("Clear Text"),
                            twipsRect(180, 360, 2415, 315), designFont(Face::Comic, 9));

    Text_Communication = place(new CommunicationLog(Frame8), "Text_Communication",
                               twipsRect(180, 840, 2415, 7455));
    Text_Communication->setFont(designFont(Face::Comic, 8.25));
    setBackColor(Text_Communication, Qt::black);
    setForeColor(Text_Communication, kLogText);

    // Hidden: it only keeps the Connect picture for CMD_Verbind.
    Picture_Connect = pictureBox(Frame8, "Picture_Connect", twipsRect(360, 2220, 1785, 1020),
                                 picture(":/pictures/connect.png"));
    Picture_Connect->hide();

    showButtonPicture(CMD_Verbind, Picture_Connect);
    showMaskedPicture(CMD_ZoekPoorten, picture(":/pictures/find_com_ports.png"));
}

void StripMixer::buildStatusBar()
{
    const QFont statusFont = designFont(Face::Comic, 8.25);
    Label_Status_Baud = label(this, "Label_Status_Baud", QStringLiteral("Label Baud rate"),
                              twipsRect(120, 9540, 2355, 330), statusFont, true);
    setBackColor(Label_Status_Baud, kStatusBarBack);
    Label_Status_Connected = label(this, "Label_Status_Connected", QStringLiteral("Label Connected"),
                                   twipsRect(2460, 9540, 2715, 330), statusFont, true);
    setBackColor(Label_Status_Connected, kStatusBarBack);

    Label_Status_Halvorne = place(new ClickableLabel(this), "Label_Status_Halvorne",
                                  twipsRect(5160, 9540, 2655, 330));
    Label_Status_Halvorne->setText(QString::fromLatin1(kPublisherAddress));
    Label_Status_Halvorne->setFont(designFont(Face::Comic, 8.25, true));
    Label_Status_Halvorne->setAlignment(Qt::AlignCenter);
    Label_Status_Halvorne->setFrameShape(QFrame::Box);
    Label_Status_Halvorne->setFrameShadow(QFrame::Plain);
    Label_Status_Halvorne->setLineWidth(1);
    setBackColor(Label_Status_Halvorne, kStatusBarBack);
    setForeColor(Label_Status_Halvorne, kFrameCaption);
    Label_Status_Halvorne->setCursor(Qt::CrossCursor);
}

}  // namespace stripmixer
