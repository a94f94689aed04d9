#include "board_model.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace stripmixer {

// Readable failure messages for colours.
void PrintTo(const Rgb &c, std::ostream *os)
{
    *os << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}

namespace {

// How the frames of a case reach the board.
enum class Delivery { OneWritePerFrame, ByteByByte, AllInOneWrite };

std::string deliveryName(Delivery delivery)
{
    switch (delivery) {
    case Delivery::OneWritePerFrame:
        return "whole";
    case Delivery::ByteByByte:
        return "byte by byte";
    case Delivery::AllInOneWrite:
        return "one write";
    }
    return "";
}

struct FrameCase {
    const char *name;
    std::vector<std::string> frames;
    std::string answers;  // everything the board sends, in order
    Rgb color = {};
    int brightness = BoardModel::kInitialBrightness;
    int delay = BoardModel::kInitialDelay;
    int numPixels = 16;
    std::vector<std::string> framesSeen = {};  // when not simply `frames`
};

const FrameCase kFrameCases[] = {
    {"identify", {"90/"}, "AC\r\n"},
    {"length", {"91/"}, "NP16\r\n"},
    {"set length, integer part", {"92/12.5/", "91/"}, "NP12\r\nNP12\r\n", {}, 50, 50, 12},
    {"set length to the limits", {"92/1/", "92/99/"}, "NP1\r\nNP99\r\n", {}, 50, 50, 99},
    {"colour components", {"20/10/", "21/20/", "22/30/"}, "OK\r\nOK\r\nOK\r\n", {10, 20, 30}},
    {"leading zeros", {"020/007/"}, "OK\r\n", {7, 0, 0}},
    {"delay", {"80/450/"}, "OK\r\n", {}, 50, 450},
    {"brightness has no answer", {"82/150/", "90/"}, "AC\r\n", {}, 150},
    {"reset", {"50/"}, "RE\r\n"},
    {"unknown code", {"99/", "9/"}, "ER\r\nER\r\n"},
    {"not a number", {"abc/", "90/"}, "ER\r\nAC\r\n"},
    {"empty frame", {"/", "91/"}, "ER\r\nNP16\r\n"},
    {"negative argument", {"20/-5/"}, "ER\r\n"},
    {"fraction where none is taken", {"20/1.5/"}, "ER\r\n"},
    {"argument not a number keeps the colour", {"20/9/", "20/x/"}, "OK\r\nER\r\n", {9, 0, 0}},
    {"component above 255", {"21/256/"}, "ER\r\n"},
    {"brightness above 255", {"82/300/"}, "ER\r\n"},
    {"length 0 and 100 refused", {"92/0/", "92/100/", "91/"}, "ER\r\nER\r\nNP16\r\n"},
    {"pixel past the strip", {"11/16/"}, "ER\r\n"},
    {"pixel on a shortened strip", {"92/4/", "11/4/"}, "NP4\r\nER\r\n", {}, 50, 50, 4},
    {"line ends between frames are skipped", {"90/", "\r\n91/"}, "AC\r\nNP16\r\n"},
    {"over-long token, then the board reads on",
     {"12345678901234/", "91/"},
     "ER\r\nNP16\r\n",
     {}, 50, 50, 16,
     {"12345678901...", "91/"}},
};

class FrameStreams : public ::testing::TestWithParam<std::tuple<FrameCase, Delivery>> {};

TEST_P(FrameStreams, AnswersAndState)
{
    const auto &[c, delivery] = GetParam();
    BoardModel board;
    double t = 0;
    std::vector<std::string> writes;
    if (delivery == Delivery::OneWritePerFrame) {
        writes = c.frames;
    } else if (delivery == Delivery::ByteByByte) {
        for (const auto &frame : c.frames)
            for (char byte : frame)
                writes.emplace_back(1, byte);
    } else {
        writes.emplace_back();
        for (const auto &frame : c.frames)
            writes.back() += frame;
    }
    std::string answers;
    for (const auto &bytes : writes) {
        board.receive(bytes, t);
        t += 0.0001;
        answers += board.takeOutput(t, 1000);
    }
    answers += board.takeOutput(t + 1.0, 1000);

    EXPECT_EQ(answers, c.answers);
    EXPECT_EQ(board.color(), c.color);
    EXPECT_EQ(board.brightness(), c.brightness);
    EXPECT_EQ(board.delay(), c.delay);
    EXPECT_EQ(board.numPixels(), c.numPixels);
    EXPECT_EQ(board.leds().size(), static_cast<std::size_t>(c.numPixels));
    EXPECT_EQ(board.frames(), c.framesSeen.empty() ? c.frames : c.framesSeen);
    EXPECT_FALSE(board.nextOutputTime());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrameStreams,
    ::testing::Combine(::testing::ValuesIn(kFrameCases),
                       ::testing::Values(Delivery::OneWritePerFrame, Delivery::ByteByByte,
                                         Delivery::AllInOneWrite)),
    [](const auto &info) {
        std::string name = std::string(std::get<0>(info.param).name) + " "
                           + deliveryName(std::get<1>(info.param));
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(BoardModel, SignatureIsChosenAtStart)
{
    for (const std::string signature : {"AC", "ET", "TM1638", "AT", "AL"}) {
        BoardModel board({.signature = signature});
        board.receive("90/", 0);
        EXPECT_EQ(board.takeOutput(1, 100), signature + "\r\n");
    }
    BoardModel silent({.silent = true});
    silent.receive("90/91/", 0);
    EXPECT_EQ(silent.takeOutput(1, 100), "NP16\r\n");
}

TEST(BoardModel, BrightnessAnsweredOnlyWhenAsked)
{
    BoardModel board({.answerBrightness = true});
    board.receive("82/7/", 0);
    EXPECT_EQ(board.takeOutput(1, 100), "OK\r\n");
    EXPECT_EQ(board.brightness(), 7);
}

TEST(BoardModel, AnswersComeWithinOneShortRead)
{
    // The program reads once, at once, after "90/": the answer must be there within 20 ms
    // but not in the same instant.
    BoardModel board;
    board.receive("90/", 5.0);
    EXPECT_EQ(board.takeOutput(5.0, 100), "");
    ASSERT_TRUE(board.nextOutputTime());
    EXPECT_GT(*board.nextOutputTime(), 5.0);
    EXPECT_LT(*board.nextOutputTime(), 5.005);
    EXPECT_EQ(board.takeOutput(5.020, 100), "AC\r\n");
}

TEST(BoardModel, TakeOutputHonoursItsLimit)
{
    BoardModel board;
    board.receive("91/91/91/91/", 0);
    EXPECT_EQ(board.takeOutput(1, 20), "NP16\r\nNP16\r\nNP16\r\nNP");
    EXPECT_EQ(board.takeOutput(1, 20), "16\r\n");
}

TEST(BoardModel, ShowColorAndPixels)
{
    BoardModel board;
    board.receive("20/255/21/128/10/", 0);
    board.advance(1);
    EXPECT_EQ(board.leds(), std::vector<Rgb>(16, Rgb{255, 128, 0}));

    board.receive("50/22/9/20/0/21/0/11/0/11/15/", 2);
    board.advance(3);
    std::vector<Rgb> expected(16);
    expected[0] = expected[15] = {0, 0, 9};
    EXPECT_EQ(board.leds(), expected);
}

TEST(BoardModel, ResetClearsTheStripAndAnswersRe)
{
    BoardModel board;
    board.receive("20/40/10/", 0);
    board.receive("0/", 0.01);  // leaves the strip red
    board.takeOutput(60, 100);
    ASSERT_NE(board.leds(), std::vector<Rgb>(16));

    board.receive("50/", 61);
    EXPECT_EQ(board.takeOutput(61.01, 100), "RE\r\n");
    EXPECT_EQ(board.leds(), std::vector<Rgb>(16));
    EXPECT_EQ(board.color(), (Rgb{40, 0, 0})) << "a reset leaves the colour alone";
}

TEST(BoardModel, LongerStripComesUpDark)
{
    BoardModel board;
    board.receive("20/1/10/92/20/", 0);
    board.advance(1);
    ASSERT_EQ(board.numPixels(), 20);
    EXPECT_EQ(board.leds()[15], (Rgb{1, 0, 0}));
    EXPECT_EQ(board.leds()[16], Rgb{});
    EXPECT_EQ(board.leds()[19], Rgb{});
}

// Every effect: "RE" comes after the effect's duration, not before, and the duration is a
// few seconds at the window's start-up speed.
class Effects : public ::testing::TestWithParam<int> {};

TEST_P(Effects, AnswerComesAfterTheEffect)
{
    const int code = GetParam();
    BoardModel board;
    board.receive("80/450/20/1/21/2/22/3/", 0);
    board.takeOutput(1, 100);

    const double duration = BoardModel::effectDuration(code, 450, 16);
    EXPECT_GE(duration, 1.0);
    EXPECT_LE(duration, 10.0);

    const double start = 10;
    board.receive(std::to_string(code) + "/", start);
    board.advance(start + 0.001);
    EXPECT_TRUE(board.effectRunning());
    ASSERT_TRUE(board.nextOutputTime());
    EXPECT_GE(*board.nextOutputTime(), start + duration);
    EXPECT_LT(*board.nextOutputTime(), start + duration + 0.005);

    EXPECT_EQ(board.takeOutput(start + duration - 0.001, 100), "");
    EXPECT_TRUE(board.effectRunning());
    EXPECT_EQ(board.takeOutput(start + duration + 0.005, 100), "RE\r\n");
    EXPECT_FALSE(board.effectRunning());
    EXPECT_EQ(board.delay(), 450);
}

INSTANTIATE_TEST_SUITE_P(AllCodes, Effects, ::testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 13));

TEST(BoardModel, EffectLengthFollowsDelayAndStripButStaysBounded)
{
    for (int code : {0, 3, 6, 7, 8}) {
        SCOPED_TRACE(code);
        const double base = BoardModel::effectDuration(code, 450, 16);
        EXPECT_LT(BoardModel::effectDuration(code, 100, 16), base);
        EXPECT_GT(BoardModel::effectDuration(code, 450, 40), base);
        EXPECT_GT(BoardModel::effectDuration(code, 0, 16), 0.0) << "even at delay 0 it takes time";
        EXPECT_LT(BoardModel::effectDuration(code, 500, 99), 60.0);
    }
}

TEST(BoardModel, TimeScaleShortensEffects)
{
    BoardModel board({.timeScale = 0.01});
    board.receive("80/450/", 0);
    board.receive("6/", 1);
    const double duration = BoardModel::effectDuration(6, 450, 16) * 0.01;
    EXPECT_EQ(board.takeOutput(1 + duration - 0.001, 100), "OK\r\n");
    EXPECT_EQ(board.takeOutput(1 + duration + 0.005, 100), "RE\r\n");
}

TEST(BoardModel, BottomTopFillsFromTheFirstLedOverWhatIsThere)
{
    BoardModel board;
    board.receive("22/200/10/80/100/", 0);
    board.receive("1/", 1);
    const double duration = BoardModel::effectDuration(1, 100, 16);

    board.advance(1 + duration * 0.5);
    const auto &leds = board.leds();
    const Rgb green{0, 255, 0}, blue{0, 0, 200};
    EXPECT_EQ(leds.front(), green);
    EXPECT_EQ(leds.back(), blue) << "the fill does not clear the strip first";
    // One lit run from the start, the rest untouched.
    std::size_t lit = 0;
    while (lit < leds.size() && leds[lit] == green)
        ++lit;
    EXPECT_GT(lit, 4u);
    EXPECT_LT(lit, 12u);
    for (std::size_t i = lit; i < leds.size(); ++i)
        EXPECT_EQ(leds[i], blue) << i;

    board.advance(1 + duration + 0.01);
    EXPECT_EQ(board.leds(), std::vector<Rgb>(16, green));
}

TEST(BoardModel, EffectsUseTheCurrentColourAndMove)
{
    BoardModel board;
    board.receive("20/9/21/8/22/7/80/300/", 0);
    board.receive("12/", 1);
    board.takeOutput(30, 100);
    EXPECT_EQ(board.leds(), std::vector<Rgb>(16, Rgb{9, 8, 7}));

    // TheaterChase lights every third LED and moves on.
    board.receive("4/", 31);
    board.advance(31.05);
    const auto first = board.leds();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(first[i], (i % 3 == 0 ? Rgb{255, 0, 0} : Rgb{})) << i;
    board.advance(31.05 + BoardModel::effectDuration(4, 300, 16) / 20);  // a step on
    EXPECT_NE(board.leds(), first);
    board.takeOutput(60, 100);

    // The rainbows show changing hues.
    board.receive("7/", 61);
    board.advance(61.01);
    const auto rainbow = board.leds();
    EXPECT_NE(rainbow[0], rainbow[8]);
    board.advance(61.01 + BoardModel::effectDuration(7, 300, 16) / 3);
    EXPECT_NE(board.leds(), rainbow);
}

TEST(BoardModel, FramesDuringAnEffectWaitForIt)
{
    // The sketch plays an effect to the end before it reads on.
    BoardModel board;
    board.receive("3/", 0);
    board.receive("91/20/5/", 0.1);
    const double end = BoardModel::effectDuration(3, 50, 16);
    board.advance(end - 0.01);
    EXPECT_EQ(board.color(), Rgb{});
    EXPECT_EQ(board.takeOutput(end + 0.05, 100), "RE\r\nNP16\r\nOK\r\n");
    EXPECT_EQ(board.color(), (Rgb{5, 0, 0}));
}

TEST(BoardModel, ReceiveBufferOverflowDuringAnEffectLosesBytes)
{
    BoardModel board;
    board.receive("80/400/", 0);
    board.receive("6/", 1);
    std::string flood;
    for (int i = 0; i < 30; ++i)
        flood += "91/";  // 90 bytes while the sketch is busy
    board.receive(flood, 1.5);
    EXPECT_EQ(board.droppedBytes(), 90u - BoardModel::kReceiveBufferSize);
    board.takeOutput(100, 10000);
    EXPECT_FALSE(board.nextOutputTime());
}

TEST(BoardModel, TranscriptHoldsFramesAndAnswersInTimeOrder)
{
    BoardModel board;
    board.receive("90/8", 1.0);
    board.receive("2/99/", 1.5);
    board.receive("91/", 2.0);
    board.receive("50/", 2.0);
    board.advance(3);

    const std::vector<TranscriptEntry> &t = board.transcript();
    const std::vector<std::pair<bool, std::string>> expected = {
        {true, "90/"}, {false, "AC"}, {true, "82/99/"}, {true, "91/"},
        {true, "50/"}, {false, "NP16"}, {false, "RE"}};
    ASSERT_EQ(t.size(), expected.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i].fromHost, expected[i].first) << i;
        EXPECT_EQ(t[i].text, expected[i].second) << i;
        if (i > 0) {
            EXPECT_GE(t[i].time, t[i - 1].time) << i;
        }
    }
    EXPECT_DOUBLE_EQ(t[0].time, 1.0);
    EXPECT_DOUBLE_EQ(t[2].time, 1.5) << "a frame counts from its last byte";
}

TEST(BoardModel, TranscriptShowsAnswersOnlyOnceSent)
{
    BoardModel board;
    board.receive("0/", 0);
    board.advance(0.5);
    ASSERT_EQ(board.transcript().size(), 1u);
    board.advance(2);
    EXPECT_EQ(board.transcript().back().text, "RE");
}

TEST(BoardModel, TimeNeverRunsBackwards)
{
    BoardModel board;
    board.receive("90/", 5);
    board.receive("91/", 1);  // a caller's clock glitch must not reorder the answers
    EXPECT_EQ(board.takeOutput(6, 100), "AC\r\nNP16\r\n");
    EXPECT_EQ(board.transcript()[1].text, "91/");
    EXPECT_EQ(board.transcript()[1].time, 5.0);
}

}  // namespace
}  // namespace stripmixer
