#include "protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace stripmixer {
namespace {

struct NumberCase {
    const char *text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest)
{
    const NumberCase cases[] = {
        {" 60", 60},        // "NP 60": characters 3 to 8
        {"", 0},
        {"123456", 123456},  // "NP123456789": characters 3 to 8
        {" 7", 7},
        {"\t8", 8},
        {"12abc", 12},
        {"12.5", 12.5},
        {".5", 0.5},
        {"1.2.3", 1.2},
        {"16\r\n", 16},
        {"-", 0},
        {".", 0},
        {"abc", 0},
        {"-3", -3},
        {"+4", 4},
        {"- 5", 0},
    };
    for (const NumberCase &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(FormatNumber, WritesPlainDecimalWithoutLeadingZero)
{
    const std::pair<double, const char *> cases[] = {
        {0, "0"}, {12, "12"}, {255, "255"}, {123456, "123456"},
        {12.5, "12.5"}, {0.5, ".5"}, {99.25, "99.25"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(formatNumber(value), text) << value;
}

TEST(Frame, IsCodeSlashAndArgumentSlash)
{
    EXPECT_EQ(frame(Cmd::Reset), "50/");
    EXPECT_EQ(frame(Cmd::EffectRainbowCycle), "7/");
    EXPECT_EQ(frame(Cmd::EffectBottomTopRed), "0/");
    EXPECT_EQ(frame(Cmd::SetPixel, 0), "11/0/");
    EXPECT_EQ(frame(Cmd::Delay, 450), "80/450/");
    EXPECT_EQ(frame(Cmd::Brightness, 150), "82/150/");
    EXPECT_EQ(frame(Cmd::SetNumPixels, "12.5"), "92/12.5/");
    // The longest frames the controls can make still fit the board's buffer.
    EXPECT_LE(frame(Cmd::Delay, 500).size(), kMaxFrameLength);
    EXPECT_LE(frame(Cmd::SetNumPixels, 99).size(), kMaxFrameLength);
}

}  // namespace
}  // namespace stripmixer
