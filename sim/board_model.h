#pragma once

// What the StripMixer_Effects_01 sketch observably does on its serial line and its strip, driven
// by the time it is given. No Qt: tests run it on virtual time, stripmixer-board on the wall clock.
//
// The model works ahead: when a frame is complete, its answer is scheduled at once (an effect's
// "RE" at the effect's end), so a reader can ask when the next byte will be sent. The strip and
// the settings change only as time is advanced to each command's turn, since the sketch does one
// thing at a time and bytes sent during an effect wait in its receive buffer.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stripmixer {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

struct BoardOptions {
    std::string signature = "AC";  // answer to "90/": AC, ET, TM1638, AT, AL
    bool silent = false;           // no answer to "90/" at all
    int numPixels = 16;
    double timeScale = 1.0;        // < 1 shortens effects (answers keep their own pace)
    bool answerBrightness = false; // answer "82/" with "OK" too
};

struct TranscriptEntry {
    double time;
    bool fromHost;     // a frame the program sent; otherwise an answer (without its CR LF)
    std::string text;
};

class BoardModel {
public:
    // The sketch's own start-up values.
    static constexpr int kInitialBrightness = 50;
    static constexpr int kInitialDelay = 50;
    static constexpr int kMaxPixels = 99;
    // The sketch reads its input through the Arduino's 64-byte receive buffer.
    static constexpr std::size_t kReceiveBufferSize = 64;
    // How long the sketch takes to act on an ordinary command before it answers.
    static constexpr double kProcessingTime = 0.001;
    // One byte on the wire at 115200 baud (start, 8 data, stop bits).
    static constexpr double kByteTime = 10.0 / 115200.0;

    enum class EffectKind { None, BottomTop, TheaterChase, Rainbow, RainbowCycle, TheaterChaseRainbow };

    explicit BoardModel(BoardOptions options = {});

    // Bytes from the program, arrived at `now` (seconds).
    void receive(std::string_view bytes, double now);
    // Plays commands and effects up to `now`. Time never runs backwards: an earlier `now` is
    // taken as the latest time seen.
    void advance(double now);
    // Up to `max` bytes the board has sent by `now` and nobody has taken yet.
    std::string takeOutput(double now, std::size_t max);
    // When the next untaken byte is (or was) sent; nothing when no answer is on its way.
    std::optional<double> nextOutputTime() const;
    // Bytes waiting to be taken (sent or still to be sent).
    std::size_t pendingOutput() const { return m_output.size(); }

    // The strip and settings as they are at the latest time seen.
    Rgb color() const { return m_color; }
    int brightness() const { return m_brightness; }
    int delay() const { return m_delay; }
    int numPixels() const { return static_cast<int>(m_leds.size()); }
    const std::vector<Rgb> &leds() const { return m_leds; }
    bool effectRunning() const { return m_effect != EffectKind::None; }
    EffectKind effect() const { return m_effect; }
    int effectCode() const { return m_effect == EffectKind::None ? -1 : m_effectCode; }
    double now() const { return m_now; }
    // When the effect now playing ends (its "RE" follows a moment later).
    std::optional<double> effectEnd() const;

    // Every frame received and every answer sent by the latest time seen, in time order.
    const std::vector<TranscriptEntry> &transcript() const { return m_transcript; }
    // The frames received, in order, exactly as their bytes came.
    std::vector<std::string> frames() const { return m_frames; }
    // Bytes lost because they came while the receive buffer was full (during a long effect).
    std::size_t droppedBytes() const { return m_dropped; }

    const BoardOptions &options() const { return m_options; }

    // How long effect `code` lasts with this delay and strip length, before the time scale.
    static double effectDuration(int code, int delay, int numPixels);

private:
    struct Settings {
        Rgb color;
        int brightness = kInitialBrightness;
        int delay = kInitialDelay;
        int numPixels = 16;
    };

    // A command the sketch has taken or will take, in order.
    struct Command {
        double start = 0;       // when the sketch acts on it
        double effectEnd = 0;   // for effects: when the last step is over
        int code = 0;
        long argument = 0;
        Settings after;         // the settings it leaves
        bool begun = false;
    };

    struct OutputByte {
        double time;
        char byte;
    };

    void consume(char byte, double arrival, double time);
    void recordFrame(double arrival);
    void answerUnreadable(double arrival, double time);
    void schedule(int code, long argument, double arrival, double time);
    void scheduleAnswer(std::string_view text, double time);
    void begin(Command &command);
    void render(const Command &command, double elapsed);

    BoardOptions m_options;
    double m_now = 0;

    // What the program sees: the state played up to m_now.
    Rgb m_color;
    int m_brightness = kInitialBrightness;
    int m_delay = kInitialDelay;
    std::vector<Rgb> m_leds;
    EffectKind m_effect = EffectKind::None;
    int m_effectCode = -1;
    std::vector<Rgb> m_effectBase;  // the strip as the running effect found it

    // What the sketch will have once every command taken so far has been played.
    Settings m_planned;
    double m_busyUntil = 0;
    std::deque<Command> m_commands;
    std::deque<double> m_bufferedUntil;  // when each byte in the receive buffer is read out
    std::size_t m_dropped = 0;

    // The frame being read.
    std::string m_token;
    std::string m_frameText;
    int m_pendingCode = -1;  // a code that still waits for its argument
    bool m_skipping = false; // an over-long token: drop bytes up to the next slash

    std::deque<OutputByte> m_output;
    double m_lastByteTime = -1;

    std::vector<TranscriptEntry> m_transcript;
    std::deque<TranscriptEntry> m_pendingTranscript;  // answers scheduled for later
    std::vector<std::string> m_frames;
};

}  // namespace stripmixer
