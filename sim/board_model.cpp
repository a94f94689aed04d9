#include "board_model.h"

#include "protocol.h"

#include <algorithm>
#include <cmath>

namespace stripmixer {

namespace {

using EffectKind = BoardModel::EffectKind;

EffectKind effectKind(int code)
{
    switch (code) {
    case Cmd::EffectBottomTopRed:
    case Cmd::EffectBottomTopGreen:
    case Cmd::EffectBottomTopBlue:
    case Cmd::EffectBottomTopRgb:
    case Cmd::EffectBottomTopRandom:
        return EffectKind::BottomTop;
    case Cmd::EffectTheaterChaseWhite:
    case Cmd::EffectTheaterChaseRed:
    case Cmd::EffectTheaterChaseBlue:
        return EffectKind::TheaterChase;
    case Cmd::EffectRainbow:
        return EffectKind::Rainbow;
    case Cmd::EffectRainbowCycle:
        return EffectKind::RainbowCycle;
    case Cmd::EffectTheaterChaseRainbow:
        return EffectKind::TheaterChaseRainbow;
    default:
        return EffectKind::None;
    }
}

bool isKnownCode(int code)
{
    if (effectKind(code) != EffectKind::None)
        return true;
    switch (code) {
    case Cmd::ShowColor:
    case Cmd::SetPixel:
    case Cmd::Red:
    case Cmd::Green:
    case Cmd::Blue:
    case Cmd::Reset:
    case Cmd::Delay:
    case Cmd::Brightness:
    case Cmd::Identify:
    case Cmd::GetNumPixels:
    case Cmd::SetNumPixels:
        return true;
    default:
        return false;
    }
}

bool takesArgument(int code)
{
    switch (code) {
    case Cmd::SetPixel:
    case Cmd::Red:
    case Cmd::Green:
    case Cmd::Blue:
    case Cmd::Delay:
    case Cmd::Brightness:
    case Cmd::SetNumPixels:
        return true;
    default:
        return false;
    }
}

// The sketch's own step counts and step lengths. Chosen so that at the window's start-up speed
// (delay 450) and 16 LEDs each effect lasts a few seconds, and none grows past a minute.
int effectSteps(EffectKind kind, int numPixels)
{
    switch (kind) {
    case EffectKind::BottomTop:
        return numPixels;
    case EffectKind::TheaterChase:
    case EffectKind::TheaterChaseRainbow:
        return (2 * numPixels + 2) / 3 * 3;  // whole rounds of three
    case EffectKind::Rainbow:
    case EffectKind::RainbowCycle:
        return 2 * numPixels + 32;
    case EffectKind::None:
        break;
    }
    return 0;
}

double stepDelay(EffectKind kind, int delay)
{
    const double seconds = delay / 1000.0;
    switch (kind) {
    case EffectKind::BottomTop:
        return seconds;
    case EffectKind::TheaterChase:
    case EffectKind::TheaterChaseRainbow:
        return seconds / 2;
    case EffectKind::Rainbow:
    case EffectKind::RainbowCycle:
        return seconds / 8;
    case EffectKind::None:
        break;
    }
    return 0;
}

// Latching the data into a WS2812 strip: about 30 µs per LED plus the reset gap.
double showTime(int numPixels)
{
    return 50e-6 + 30e-6 * numPixels;
}

// The colour wheel the effects share: red, green, blue and back, 256 positions.
Rgb wheel(int position)
{
    position = 255 - (position & 255);
    if (position < 85)
        return {std::uint8_t(255 - position * 3), 0, std::uint8_t(position * 3)};
    if (position < 170) {
        position -= 85;
        return {0, std::uint8_t(position * 3), std::uint8_t(255 - position * 3)};
    }
    position -= 170;
    return {std::uint8_t(position * 3), std::uint8_t(255 - position * 3), 0};
}

Rgb fixedEffectColor(int code, Rgb current)
{
    switch (code) {
    case Cmd::EffectBottomTopRed:
    case Cmd::EffectTheaterChaseRed:
        return {255, 0, 0};
    case Cmd::EffectBottomTopGreen:
        return {0, 255, 0};
    case Cmd::EffectBottomTopBlue:
    case Cmd::EffectTheaterChaseBlue:
        return {0, 0, 255};
    case Cmd::EffectTheaterChaseWhite:
        return {255, 255, 255};
    default:
        return current;  // 12 and 13 play the current colour
    }
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole token of digits (and, where allowed, one decimal point with digits before it).
// Anything else is unreadable; the value is the integer part.
std::optional<long> readNumber(std::string_view token, bool allowFraction)
{
    token = trimmed(token);
    std::size_t digits = 0;
    bool point = false;
    for (char c : token) {
        if (c >= '0' && c <= '9') {
            if (!point)
                ++digits;
        } else if (c == '.' && allowFraction && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || digits > 9)
        return std::nullopt;
    return static_cast<long>(std::floor(leadingNumber(token)));
}

constexpr std::size_t kMaxRecordedFrame = 40;

}  // namespace

BoardModel::BoardModel(BoardOptions options)
    : m_options(std::move(options))
{
    m_options.numPixels = std::clamp(m_options.numPixels, 1, kMaxPixels);
    if (!(m_options.timeScale >= 0))  // also catches NaN
        m_options.timeScale = 1.0;
    m_leds.assign(static_cast<std::size_t>(m_options.numPixels), Rgb{});
    m_planned.numPixels = m_options.numPixels;
}

double BoardModel::effectDuration(int code, int delay, int numPixels)
{
    const EffectKind kind = effectKind(code);
    if (kind == EffectKind::None)
        return 0;
    return effectSteps(kind, numPixels) * (stepDelay(kind, delay) + showTime(numPixels));
}

std::optional<double> BoardModel::effectEnd() const
{
    if (m_effect == EffectKind::None || m_commands.empty())
        return std::nullopt;
    return m_commands.front().effectEnd;
}

void BoardModel::receive(std::string_view bytes, double now)
{
    advance(now);
    now = m_now;
    for (char byte : bytes) {
        while (!m_bufferedUntil.empty() && m_bufferedUntil.front() <= now)
            m_bufferedUntil.pop_front();
        if (m_bufferedUntil.size() >= kReceiveBufferSize) {
            ++m_dropped;
            continue;
        }
        const double taken = std::max(now, m_busyUntil);
        if (taken > now)
            m_bufferedUntil.push_back(taken);
        consume(byte, now, taken);
    }
}

void BoardModel::consume(char byte, double arrival, double time)
{
    if (m_frameText.size() < kMaxRecordedFrame)
        m_frameText += byte;

    if (m_skipping) {
        // The rest of an over-long token, already answered.
        if (byte == '/') {
            m_skipping = false;
            m_frameText.clear();
        }
        return;
    }

    if (byte != '/') {
        m_token += byte;
        if (m_token.size() > kMaxFrameLength) {
            // More than the sketch's buffer holds: answer at once rather than leave the program
            // waiting for a slash that may never come.
            m_frameText += "...";
            answerUnreadable(arrival, time);
            m_skipping = true;
        }
        return;
    }

    const std::string token = std::move(m_token);
    m_token.clear();
    if (m_pendingCode < 0) {
        const std::optional<long> code = readNumber(token, false);
        if (!code || !isKnownCode(static_cast<int>(*code))) {
            answerUnreadable(arrival, time);
            return;
        }
        if (takesArgument(static_cast<int>(*code))) {
            m_pendingCode = static_cast<int>(*code);
            return;
        }
        schedule(static_cast<int>(*code), 0, arrival, time);
        return;
    }

    const int code = m_pendingCode;
    m_pendingCode = -1;
    const std::optional<long> argument = readNumber(token, code == Cmd::SetNumPixels);
    long low = 0, high = 255;
    if (code == Cmd::SetPixel)
        high = m_planned.numPixels - 1;
    else if (code == Cmd::Delay)
        high = 9999;
    else if (code == Cmd::SetNumPixels)
        low = 1, high = kMaxPixels;
    if (!argument || *argument < low || *argument > high) {
        answerUnreadable(arrival, time);
        return;
    }
    schedule(code, *argument, arrival, time);
}

void BoardModel::recordFrame(double arrival)
{
    m_frames.push_back(m_frameText);
    m_transcript.push_back({arrival, true, m_frameText});
    m_frameText.clear();
}

void BoardModel::answerUnreadable(double arrival, double time)
{
    recordFrame(arrival);
    m_token.clear();
    m_pendingCode = -1;
    m_busyUntil = time + kProcessingTime;
    scheduleAnswer("ER", m_busyUntil);
}

void BoardModel::schedule(int code, long argument, double arrival, double time)
{
    recordFrame(arrival);

    Settings &s = m_planned;
    switch (code) {
    case Cmd::Red:
        s.color.r = static_cast<std::uint8_t>(argument);
        break;
    case Cmd::Green:
        s.color.g = static_cast<std::uint8_t>(argument);
        break;
    case Cmd::Blue:
        s.color.b = static_cast<std::uint8_t>(argument);
        break;
    case Cmd::Delay:
        s.delay = static_cast<int>(argument);
        break;
    case Cmd::Brightness:
        s.brightness = static_cast<int>(argument);
        break;
    case Cmd::SetNumPixels:
        s.numPixels = static_cast<int>(argument);
        break;
    default:
        break;
    }

    Command command;
    command.start = time;
    command.effectEnd = time;
    command.code = code;
    command.argument = argument;
    command.after = s;

    double answerTime = time + kProcessingTime;
    std::string answer;
    if (effectKind(code) != EffectKind::None) {
        command.effectEnd = time + effectDuration(code, s.delay, s.numPixels) * m_options.timeScale;
        answerTime = command.effectEnd + kProcessingTime;
        answer = "RE";
    } else {
        switch (code) {
        case Cmd::Reset:
            answer = "RE";
            break;
        case Cmd::Identify:
            if (!m_options.silent)
                answer = m_options.signature;
            break;
        case Cmd::GetNumPixels:
        case Cmd::SetNumPixels:
            answer = "NP" + std::to_string(s.numPixels);
            break;
        case Cmd::Brightness:
            if (m_options.answerBrightness)
                answer = "OK";
            break;
        default:
            answer = "OK";
            break;
        }
    }
    m_commands.push_back(command);
    m_busyUntil = answerTime;
    if (!answer.empty())
        scheduleAnswer(answer, answerTime);
}

void BoardModel::scheduleAnswer(std::string_view text, double time)
{
    double t = std::max(time, m_lastByteTime + kByteTime);
    m_pendingTranscript.push_back({t, false, std::string(text)});
    std::string bytes(text);
    bytes += "\r\n";
    for (char byte : bytes) {
        m_output.push_back({t, byte});
        m_lastByteTime = t;
        t += kByteTime;
    }
}

void BoardModel::advance(double now)
{
    if (now > m_now)
        m_now = now;

    while (!m_commands.empty() && m_commands.front().start <= m_now) {
        Command &command = m_commands.front();
        if (!command.begun) {
            begin(command);
            command.begun = true;
        }
        if (m_effect != EffectKind::None) {
            if (m_now < command.effectEnd) {
                render(command, m_now - command.start);
                break;
            }
            render(command, command.effectEnd - command.start);
            m_effect = EffectKind::None;
            m_effectBase.clear();
        }
        m_commands.pop_front();
    }

    while (!m_pendingTranscript.empty() && m_pendingTranscript.front().time <= m_now) {
        m_transcript.push_back(std::move(m_pendingTranscript.front()));
        m_pendingTranscript.pop_front();
    }
}

void BoardModel::begin(Command &command)
{
    m_color = command.after.color;
    m_brightness = command.after.brightness;
    m_delay = command.after.delay;
    m_leds.resize(static_cast<std::size_t>(command.after.numPixels), Rgb{});

    switch (command.code) {
    case Cmd::ShowColor:
        std::fill(m_leds.begin(), m_leds.end(), m_color);
        break;
    case Cmd::SetPixel:
        m_leds[static_cast<std::size_t>(command.argument)] = m_color;
        break;
    case Cmd::Reset:
        std::fill(m_leds.begin(), m_leds.end(), Rgb{});
        break;
    default:
        m_effect = effectKind(command.code);
        m_effectCode = command.code;
        if (m_effect != EffectKind::None)
            m_effectBase = m_leds;
        break;
    }
}

void BoardModel::render(const Command &command, double elapsed)
{
    const int n = static_cast<int>(m_leds.size());
    const int steps = effectSteps(m_effect, n);
    if (steps <= 0)
        return;
    const double length = command.effectEnd - command.start;
    int step = steps - 1;
    if (length > 0 && elapsed < length)
        step = std::clamp(static_cast<int>(elapsed / length * steps), 0, steps - 1);

    const Rgb color = fixedEffectColor(command.code, command.after.color);
    const int hue = step * 256 / steps;
    for (int i = 0; i < n; ++i) {
        Rgb &led = m_leds[static_cast<std::size_t>(i)];
        switch (m_effect) {
        case EffectKind::BottomTop:
            led = i <= step ? color : m_effectBase[static_cast<std::size_t>(i)];
            break;
        case EffectKind::TheaterChase:
            led = i % 3 == step % 3 ? color : Rgb{};
            break;
        case EffectKind::Rainbow:
            led = wheel(i + hue);
            break;
        case EffectKind::RainbowCycle:
            led = wheel(i * 256 / n + hue);
            break;
        case EffectKind::TheaterChaseRainbow:
            led = i % 3 == step % 3 ? wheel(i + hue) : Rgb{};
            break;
        case EffectKind::None:
            break;
        }
    }
}

std::string BoardModel::takeOutput(double now, std::size_t max)
{
    advance(now);
    std::string bytes;
    while (!m_output.empty() && m_output.front().time <= m_now && bytes.size() < max) {
        bytes += m_output.front().byte;
        m_output.pop_front();
    }
    return bytes;
}

std::optional<double> BoardModel::nextOutputTime() const
{
    if (m_output.empty())
        return std::nullopt;
    return m_output.front().time;
}

}  // namespace stripmixer
