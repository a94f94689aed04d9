#pragma once

// The serial conversation with the StripMixer_Effects_01 sketch: command codes, frames,
// answer codes and the waits the program keeps around each exchange.

#include <cstddef>
#include <string>
#include <string_view>

namespace stripmixer {

namespace Cmd {
// Effects 0 … 8 are sent as their own code ("7/").
inline constexpr int EffectBottomTopRed = 0;
inline constexpr int EffectBottomTopGreen = 1;
inline constexpr int EffectBottomTopBlue = 2;
inline constexpr int EffectTheaterChaseWhite = 3;
inline constexpr int EffectTheaterChaseRed = 4;
inline constexpr int EffectTheaterChaseBlue = 5;
inline constexpr int EffectRainbow = 6;
inline constexpr int EffectRainbowCycle = 7;
inline constexpr int EffectTheaterChaseRainbow = 8;
inline constexpr int ShowColor = 10;
inline constexpr int SetPixel = 11;
inline constexpr int EffectBottomTopRgb = 12;
inline constexpr int EffectBottomTopRandom = 13;
inline constexpr int Red = 20;
inline constexpr int Green = 21;
inline constexpr int Blue = 22;
inline constexpr int Reset = 50;
inline constexpr int Delay = 80;
inline constexpr int Brightness = 82;
inline constexpr int Identify = 90;
inline constexpr int GetNumPixels = 91;
inline constexpr int SetNumPixels = 92;
}  // namespace Cmd

// The sketch holds its frames in a 10-byte buffer; so does the program's transmit buffer.
inline constexpr std::size_t kMaxFrameLength = 10;
// One read takes at most this many bytes.
inline constexpr std::size_t kReadSize = 20;

// "50/"
std::string frame(int code);
// "82/150/"
std::string frame(int code, long argument);
// "92/12.5/": the argument already written out (only the strip length can carry a fraction).
std::string frame(int code, std::string_view argument);

// Answers are recognised by their first two characters.
namespace Answer {
inline constexpr std::string_view NumPixels = "NP";
inline constexpr std::string_view EffectDone = "RE";
inline constexpr std::string_view Identified = "AC";
// Signatures of other sketches the board may be running.
inline constexpr std::string_view TestSketch = "ET";
inline constexpr std::string_view Tm1638 = "TM";
inline constexpr std::string_view TestSketch2 = "AT";
inline constexpr std::string_view LightOrgan = "AL";
}  // namespace Answer

// Seconds waited after sending, before the read.
namespace Wait {
inline constexpr double BeforeIdentify = 2.0;       // with events, before "90/"
inline constexpr double HandshakeNumPixels = 0.2;   // "91/" after identification
inline constexpr double HandshakeColor = 0.1;       // "20/", "21/" after identification
inline constexpr double HandshakeBlue = 0.5;        // "22/" after identification
inline constexpr double HandshakeReset = 1.0;       // "50/" after identification
inline constexpr double HandshakeDelay = 0.1;       // "80/" after identification
inline constexpr double NumPixels = 1.0;            // "91/" and "92/" buttons, with events
inline constexpr double Color = 0.1;                // "20/" "21/" "22/" from the mixer and pixels
inline constexpr double ShowColor = 1.0;            // "10/"
inline constexpr double Pixel = 0.1;                // "11/"
inline constexpr double Reset = 1.0;                // "50/"
inline constexpr double Delay = 1.0;                // "80/" from the speed slider
inline constexpr double Effect = 1.0;               // an effect button's frame
inline constexpr double AllAnimationsEffect = 2.0;  // each frame of "All Animations"
inline constexpr double CheckInterface = 2.0;       // the one-shot check after connecting
}  // namespace Wait

// The one way numbers are read from text: leading blanks are skipped, an optional sign, digits
// and one decimal point are taken, and reading stops at the first character that cannot
// continue the number. No digits give 0.
double leadingNumber(std::string_view text);

// A number as the program writes it into frames and labels: plain decimal, no blanks, no
// leading zero before a decimal point (12, 12.5, .5).
std::string formatNumber(double value);

}  // namespace stripmixer
