// The window against its design: every control's kind, container, position and size (written
// here in twips, as designed, and divided by 15), and its captions, colours, fonts and states.

#include "board_model.h"
#include "memory_port.h"
#include "strip_mixer.h"
#include "virtual_clock.h"
#include "window_printers.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace stripmixer;
using windowtest::show;

namespace {

enum class Kind { Frame, Label, Button, HScroll, VScroll, Combo, TextBox, TextArea, Picture };

struct Placement {
    std::string name;
    Kind kind;
    std::string container;  // "" is the window
    int left, top, width, height;  // twips
};

std::vector<Placement> designedPlacements()
{
    std::vector<Placement> rows = {
        {"Picture1", Kind::Picture, "", 0, 0, 2940, 1260},
        {"Image_Transparent_Frame", Kind::Picture, "", 2940, 0, 4995, 1260},
        {"Label_Kop", Kind::Label, "", 3180, 240, 4500, 675},
        {"Picture_Disconnect", Kind::Picture, "", 8280, 2490, 1785, 1020},
        {"Picture_Backup", Kind::Picture, "", 9000, 180, 1335, 675},
        {"Frame6", Kind::Frame, "", 120, 1380, 3015, 3855},
        {"Frame_Red", Kind::Frame, "Frame6", 120, 360, 855, 2535},
        {"Frame_Green", Kind::Frame, "Frame6", 1080, 360, 855, 2535},
        {"Frame_Blue", Kind::Frame, "Frame6", 2040, 360, 855, 2535},
        {"Frame_Red_BackColor", Kind::Frame, "Frame_Red", 120, 360, 615, 2055},
        {"Frame_Green_BackColor", Kind::Frame, "Frame_Green", 120, 360, 615, 2055},
        {"Frame_Blue_BackColor", Kind::Frame, "Frame_Blue", 120, 360, 615, 2055},
        {"VScroll_Red", Kind::VScroll, "Frame_Red_BackColor", 120, 480, 375, 1455},
        {"VScroll_Green", Kind::VScroll, "Frame_Green_BackColor", 120, 480, 375, 1455},
        {"VScroll_Blue", Kind::VScroll, "Frame_Blue_BackColor", 120, 480, 375, 1455},
        {"Label_Red", Kind::Label, "Frame_Red_BackColor", 120, 120, 375, 255},
        {"Label_Green", Kind::Label, "Frame_Green_BackColor", 120, 120, 375, 255},
        {"Label_Blue", Kind::Label, "Frame_Blue_BackColor", 120, 120, 375, 255},
        {"Picture_Selected_Color", Kind::Picture, "Frame6", 120, 2940, 2775, 375},
        {"CMD_ShowColor", Kind::Button, "Frame6", 120, 3360, 2775, 375},
        {"Frame1", Kind::Frame, "", 120, 5340, 3015, 855},
        {"HScroll_Wait", Kind::HScroll, "Frame1", 120, 360, 2055, 330},
        {"Label_Wait", Kind::Label, "Frame1", 2280, 360, 615, 330},
        {"Frame9", Kind::Frame, "", 120, 6300, 3015, 855},
        {"HScroll_Brightness", Kind::HScroll, "Frame9", 120, 360, 2055, 330},
        {"Label_Brightness", Kind::Label, "Frame9", 2280, 360, 615, 330},
        {"Frame2", Kind::Frame, "", 120, 7260, 3015, 855},
        {"HScroll_NumCycles", Kind::HScroll, "Frame2", 120, 360, 975, 315},
        {"Label_NumCycles", Kind::Label, "Frame2", 1200, 360, 495, 375},
        {"Label_Round", Kind::Label, "Frame2", 1680, 360, 495, 375},
        {"CMD_Break", Kind::Button, "Frame2", 2280, 360, 615, 375},
        {"Frame3", Kind::Frame, "", 120, 8220, 3015, 1155},
        {"CMD_GetNumPixels", Kind::Button, "Frame3", 240, 360, 1935, 330},
        {"Label_NumPixels", Kind::Label, "Frame3", 2280, 360, 615, 330},
        {"CMD_SetNumPixels", Kind::Button, "Frame3", 240, 720, 1935, 330},
        {"Text_NumPixels", Kind::TextBox, "Frame3", 2280, 720, 615, 330},
        {"Frame5", Kind::Frame, "", 3240, 1380, 4575, 3075},
        {"CMD_Bottom_Top_0", Kind::Button, "Frame5", 240, 360, 1920, 360},
        {"CMD_Bottom_Top_1", Kind::Button, "Frame5", 240, 720, 1920, 360},
        {"CMD_Bottom_Top_2", Kind::Button, "Frame5", 240, 1080, 1920, 360},
        {"CMD_Bottom_Top_12", Kind::Button, "Frame5", 240, 1440, 1920, 360},
        {"CMD_Bottom_Top_6", Kind::Button, "Frame5", 240, 1800, 1920, 360},
        {"CMD_Bottom_Top_8", Kind::Button, "Frame5", 240, 2160, 1920, 360},
        {"CMD_Bottom_Top_4", Kind::Button, "Frame5", 2400, 360, 1920, 360},
        {"CMD_Bottom_Top_3", Kind::Button, "Frame5", 2400, 720, 1920, 360},
        {"CMD_Bottom_Top_5", Kind::Button, "Frame5", 2400, 1080, 1920, 360},
        {"CMD_Bottom_Top_13", Kind::Button, "Frame5", 2400, 1440, 1920, 360},
        {"CMD_Bottom_Top_7", Kind::Button, "Frame5", 2400, 1800, 1920, 360},
        {"CMD_All_Animations", Kind::Button, "Frame5", 2400, 2160, 1935, 360},
        {"CMD_Reset_Leds", Kind::Button, "Frame5", 240, 2520, 1920, 360},
        {"Label_Info", Kind::Label, "Frame5", 2400, 2520, 1935, 360},
        {"Frame7", Kind::Frame, "", 3240, 4560, 4575, 1155},
        {"Frame_Communication", Kind::Frame, "", 3240, 5820, 4575, 2535},
        {"Picture_Status", Kind::Picture, "Frame_Communication", 240, 360, 4095, 360},
        {"Label_NotConnected", Kind::Label, "Picture_Status", 0, 0, 1755, 360},
        {"Label_Busy", Kind::Label, "Picture_Status", 1680, 0, 1320, 360},
        {"Label_Ready", Kind::Label, "Picture_Status", 3000, 0, 1035, 360},
        {"ComboPoorten", Kind::Combo, "Frame_Communication", 240, 840, 1920, 390},
        {"ComboBaudRate", Kind::Combo, "Frame_Communication", 2400, 840, 1920, 390},
        {"CMD_ZoekPoorten", Kind::Button, "Frame_Communication", 240, 1320, 1920, 1095},
        {"CMD_Verbind", Kind::Button, "Frame_Communication", 2400, 1290, 1920, 1095},
        {"Frame_Command", Kind::Frame, "", 3240, 8460, 4575, 915},
        {"CMD_Set_BGND_Color", Kind::Button, "Frame_Command", 300, 360, 1635, 390},
        {"CMD_Reset_Backgroud_Img", Kind::Button, "Frame_Command", 1920, 360, 1695, 390},
        {"CMD_Close", Kind::Button, "Frame_Command", 3600, 360, 675, 390},
        {"Frame8", Kind::Frame, "", 7920, 1395, 2775, 8475},
        {"CMD_Clear_text", Kind::Button, "Frame8", 180, 360, 2415, 315},
        {"Text_Communication", Kind::TextArea, "Frame8", 180, 840, 2415, 7455},
        {"Picture_Connect", Kind::Picture, "Frame8", 360, 2220, 1785, 1020},
        {"Label_Status_Baud", Kind::Label, "", 120, 9540, 2355, 330},
        {"Label_Status_Connected", Kind::Label, "", 2460, 9540, 2715, 330},
        {"Label_Status_Halvorne", Kind::Label, "", 5160, 9540, 2655, 330},
    };
    // Pixel buttons: 1 … 8 on the first row, 9 … 16 on the second.
    for (int k = 1; k <= 16; ++k) {
        const int column = (k - 1) % 8 + 1;
        rows.push_back({"CMD_SetPixel_" + std::to_string(k), Kind::Button, "Frame7",
                        360 + 480 * (column - 1), k <= 8 ? 360 : 690, 465, 330});
    }
    return rows;
}

bool isKind(const QWidget *widget, Kind kind)
{
    switch (kind) {
    case Kind::Frame: return qobject_cast<const QGroupBox *>(widget);
    case Kind::Label: return qobject_cast<const QLabel *>(widget);
    case Kind::Button: return qobject_cast<const QPushButton *>(widget);
    case Kind::HScroll: {
        auto *bar = qobject_cast<const QScrollBar *>(widget);
        return bar && bar->orientation() == Qt::Horizontal;
    }
    case Kind::VScroll: {
        auto *bar = qobject_cast<const QScrollBar *>(widget);
        return bar && bar->orientation() == Qt::Vertical;
    }
    case Kind::Combo: {
        auto *combo = qobject_cast<const QComboBox *>(widget);
        return combo && combo->isEditable();
    }
    case Kind::TextBox: return qobject_cast<const QLineEdit *>(widget);
    case Kind::TextArea: return qobject_cast<const QPlainTextEdit *>(widget);
    case Kind::Picture: return qobject_cast<const QFrame *>(widget);
    }
    return false;
}

class LayoutTest : public ::testing::Test {
protected:
    QWidget *control(const std::string &name) const
    {
        return window.findChild<QWidget *>(QString::fromStdString(name));
    }

    VirtualClock clock;
    MemoryPort port{clock};
    StripMixer window{port, clock};
};

TEST_F(LayoutTest, EveryControlSitsInItsContainerAtItsDesignedPlace)
{
    for (const Placement &row : designedPlacements()) {
        SCOPED_TRACE(row.name);
        QWidget *widget = control(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(isKind(widget, row.kind)) << widget->metaObject()->className();
        const QWidget *parent = widget->parentWidget();
        ASSERT_NE(parent, nullptr);
        EXPECT_EQ(parent->objectName().toStdString(), row.container.empty() ? "StripMixer" : row.container);
        if (row.container.empty()) {
            EXPECT_EQ(parent, &window);
        }
        EXPECT_EQ(show(widget->geometry()),
                  show(QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15)));
    }
}

TEST_F(LayoutTest, TheArraysHoldExactlyTheirDesignedElements)
{
    QStringList effects, pixels;
    for (const QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->objectName().startsWith("CMD_Bottom_Top_"))
            effects << button->objectName().mid(15);
        if (button->objectName().startsWith("CMD_SetPixel_"))
            pixels << button->objectName().mid(13);
    }
    effects.sort();
    EXPECT_EQ(show(effects.join(',')), "0,1,12,13,2,3,4,5,6,7,8");
    EXPECT_EQ(pixels.size(), 16);
    EXPECT_EQ(window.CMD_Bottom_Top.size(), 11u);
    EXPECT_EQ(window.CMD_SetPixel.size(), 16u);
    for (const auto &[index, button] : window.CMD_SetPixel)
        EXPECT_EQ(show(button->text()), show(QString::number(index)));
}

struct Look {
    std::string name;
    std::optional<QString> text = std::nullopt;
    std::optional<QColor> back = std::nullopt;
    std::optional<QColor> fore = std::nullopt;
    bool hidden = false;
    bool enabled = true;
    std::optional<QString> toolTip = std::nullopt;
};

TEST_F(LayoutTest, CaptionsColoursAndStatesAreAsDesigned)
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor statusBar(224, 224, 224);
    const std::vector<Look> looks = {
        {"Label_Kop", "RGB LED controller", {}, QColor(255, 255, 0), false, true, "Click to SHOW communication"},
        {"Picture1", {}, QColor(0, 0, 0)},
        {"Picture_Disconnect", {}, {}, {}, true},
        {"Picture_Backup", {}, {}, {}, true},
        {"Picture_Connect", {}, {}, {}, true},
        {"Frame6", {}, face},
        {"Frame_Red_BackColor", {}, QColor(85, 0, 0)},
        {"Frame_Green_BackColor", {}, QColor(0, 128, 0)},
        {"Frame_Blue_BackColor", {}, QColor(0, 0, 128)},
        {"Label_Red", "50"},
        {"Label_Green", "50"},
        {"Label_Blue", "50"},
        {"CMD_ShowColor", "Show color on led strip", face},
        {"Label_Wait", "50"},
        {"Label_Brightness", "150"},
        {"Label_NumCycles", "1"},
        {"Label_Round", "-"},
        {"CMD_Break", "Break", {}, {}, false, false},
        {"CMD_GetNumPixels", "Get NumPixels"},
        {"Label_NumPixels", "-"},
        {"CMD_SetNumPixels", "Set NumPixels"},
        {"CMD_Bottom_Top_0", "Bottom Top Red", QColor(255, 128, 128)},
        {"CMD_Bottom_Top_1", "Bottom Top Green", QColor(128, 255, 128)},
        {"CMD_Bottom_Top_2", "Bottom Top Blue", QColor(128, 128, 255)},
        {"CMD_Bottom_Top_3", "TheaterChase White", QColor(255, 255, 255)},
        {"CMD_Bottom_Top_4", "TheaterChase Red", QColor(255, 128, 128)},
        {"CMD_Bottom_Top_5", "TheaterChase Blue", QColor(128, 128, 255)},
        {"CMD_Bottom_Top_6", "Rainbow", face},
        {"CMD_Bottom_Top_7", "RainbowCycle", face},
        {"CMD_Bottom_Top_8", "TheaterChaseRainbow", face},
        {"CMD_Bottom_Top_12", "Bottom Top RGB", face, {}, false, true, "Use selectred RGB color."},
        {"CMD_Bottom_Top_13", "Bottom Top RGB RND", face, {}, false, true, "RND = random colors."},
        {"CMD_All_Animations", "All Animations"},
        {"CMD_Reset_Leds", "Reset Leds", QColor(255, 192, 128)},
        {"Label_Info", "-"},
        {"CMD_SetPixel_1", "1", face},
        {"CMD_SetPixel_16", "16", face},
        {"Label_NotConnected", "Not connected", QColor(255, 0, 0)},
        {"Label_Busy", "Busy", QColor(255, 255, 0), {}, true},
        {"Label_Ready", "Ready", QColor(128, 255, 128), {}, true},
        {"CMD_ZoekPoorten", ""},
        {"CMD_Verbind", ""},
        {"CMD_Set_BGND_Color", "Set BGND Color"},
        {"CMD_Reset_Backgroud_Img", "Reset BGND Img"},
        {"CMD_Close", "Close"},
        {"CMD_Clear_text", "Clear Text"},
        {"Label_Status_Baud", {}, statusBar},
        {"Label_Status_Halvorne", {}, statusBar, QColor(0, 124, 195)},
    };
    for (const Look &look : looks) {
        SCOPED_TRACE(look.name);
        QWidget *widget = control(look.name);
        ASSERT_NE(widget, nullptr);
        if (look.text) {
            if (auto *label = qobject_cast<QLabel *>(widget))
                EXPECT_EQ(show(label->text()), show(*look.text));
            else if (auto *button = qobject_cast<QPushButton *>(widget))
                EXPECT_EQ(show(button->text()), show(*look.text));
            else
                ADD_FAILURE() << "no caption to compare";
        }
        if (look.back) {
            EXPECT_EQ(show(widget->palette().color(widget->backgroundRole())), show(*look.back));
        }
        if (look.fore) {
            EXPECT_EQ(show(widget->palette().color(widget->foregroundRole())), show(*look.fore));
        }
        EXPECT_EQ(widget->isHidden(), look.hidden);
        EXPECT_EQ(widget->isEnabled(), look.enabled);
        if (look.toolTip) {
            EXPECT_EQ(show(widget->toolTip()), show(*look.toolTip));
        }
    }

    // The frames' captions.
    const std::pair<const char *, const char *> frames[] = {
        {"Frame6", "Color mixer"}, {"Frame_Red", "Red"}, {"Frame_Green", "Green"},
        {"Frame_Blue", "Blue"}, {"Frame1", "Speed"}, {"Frame9", "Brightness"},
        {"Frame2", "Number of cycles"}, {"Frame3", "Number of leds"},
        {"Frame5", "Effects (controlled by the Arndino)"}, {"Frame7", "SetPixel"},
        {"Frame_Communication", "Communication"}, {"Frame_Command", "Command"},
        {"Frame8", "Communication"}};
    for (const auto &[name, caption] : frames)
        EXPECT_EQ(show(window.findChild<QGroupBox *>(name)->title()), caption) << name;

    auto *textNumPixels = window.findChild<QLineEdit *>("Text_NumPixels");
    EXPECT_EQ(show(textNumPixels->text()), "-");
    EXPECT_TRUE(textNumPixels->alignment() & Qt::AlignHCenter);

    auto *log = window.findChild<QPlainTextEdit *>("Text_Communication");
    EXPECT_TRUE(log->isReadOnly());
    EXPECT_EQ(show(log->palette().color(QPalette::Base)), show(QColor(0, 0, 0)));
    EXPECT_EQ(show(log->palette().color(QPalette::Text)), show(QColor(255, 192, 128)));
    EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    EXPECT_EQ(show(window.palette().color(window.backgroundRole())), show(QColor(180, 180, 180)));
    EXPECT_EQ(window.findChild<QWidget *>("Label_Status_Halvorne")->cursor().shape(), Qt::CrossCursor);
}

TEST_F(LayoutTest, ScrollBarsHaveTheirDesignedRanges)
{
    struct Range {
        const char *name;
        int min, max, smallChange, largeChange, value;
    };
    const Range ranges[] = {
        {"VScroll_Red", 0, 255, 1, 10, 205},   {"VScroll_Green", 0, 255, 1, 10, 205},
        {"VScroll_Blue", 0, 255, 1, 10, 205},  {"HScroll_Wait", 0, 500, 10, 50, 50},
        {"HScroll_Brightness", 1, 255, 1, 10, 150}, {"HScroll_NumCycles", 1, 100, 1, 5, 1},
    };
    for (const Range &r : ranges) {
        SCOPED_TRACE(r.name);
        auto *bar = window.findChild<QScrollBar *>(r.name);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->minimum(), r.min);
        EXPECT_EQ(bar->maximum(), r.max);
        EXPECT_EQ(bar->singleStep(), r.smallChange);
        EXPECT_EQ(bar->pageStep(), r.largeChange);
        EXPECT_EQ(bar->value(), r.value);
    }
}

// Sizes in points become pixels at 96 dpi (pt × 4/3), so the layout holds at any resolution.
TEST_F(LayoutTest, FontsAreTheDesignedFacesInPixelSizes)
{
    struct Font {
        const char *name;
        const char *family;
        double points;
        bool bold, italic;
    };
    const char *comic = "Comic Sans MS";
    const char *sans = "MS Sans Serif";
    const Font fonts[] = {
        {"Label_Kop", comic, 24, true, false},
        {"Frame6", comic, 9.75, true, true},
        {"Frame_Red", sans, 9.75, false, false},
        {"Label_Red", sans, 9.75, false, false},
        {"CMD_ShowColor", comic, 9.75, false, false},
        {"Label_Wait", comic, 9.75, false, false},
        {"CMD_Break", comic, 9, false, false},
        {"Text_NumPixels", comic, 9.75, false, false},
        {"CMD_Bottom_Top_8", comic, 8.25, false, false},
        {"CMD_All_Animations", comic, 8.25, false, false},
        {"CMD_Reset_Leds", comic, 9, false, false},
        {"Label_Info", comic, 9, false, false},
        {"CMD_SetPixel_9", comic, 8.25, false, false},
        {"Label_NotConnected", comic, 9.75, true, true},
        {"ComboPoorten", comic, 9.75, false, false},
        {"CMD_Close", comic, 9, false, false},
        {"Text_Communication", comic, 8.25, false, false},
        {"Label_Status_Baud", comic, 8.25, false, false},
        {"Label_Status_Halvorne", comic, 8.25, true, false},
    };
    for (const Font &f : fonts) {
        SCOPED_TRACE(f.name);
        const QFont font = control(f.name)->font();
        EXPECT_EQ(show(font.family()), f.family);
        EXPECT_EQ(font.pixelSize(), qRound(f.points * 96 / 72));
        EXPECT_EQ(font.bold(), f.bold);
        EXPECT_EQ(font.italic(), f.italic);
    }
}

TEST_F(LayoutTest, MissingDesignFacesFallBackToMetricCompatibleOnes)
{
    if (QFontDatabase::hasFamily("Comic Sans MS"))
        GTEST_SKIP() << "the machine has the designed face itself";
    if (!QFontDatabase::hasFamily("Comic Neue"))
        GTEST_SKIP() << "fonts-comic-neue is not installed";
    EXPECT_EQ(show(QFontInfo(control("Label_Kop")->font()).family()), "Comic Neue");
}

}  // namespace
