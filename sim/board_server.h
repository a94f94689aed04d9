#pragma once

// Serves BoardModel on a pseudo-terminal in real time, and names the terminal's device as a
// Com number in a folder of comN links (what STRIPMIXER_COM_DIR points at).
//
// Idle costs nothing: the master side is watched by a socket notifier, and timers run only while
// an answer is on its way or an effect is playing.

#include "board_model.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

class QSocketNotifier;

namespace stripmixer {

class BoardServer : public QObject {
    Q_OBJECT

public:
    explicit BoardServer(BoardOptions options, QObject *parent = nullptr);
    ~BoardServer() override;

    // Opens the pseudo-terminal, links DIR/comN to it and starts serving. On failure returns
    // false with a message for the user in `error`.
    bool start(const std::string &comDir, int comNumber, std::string &error);
    // Writes every frame and answer to `path`, one line each, as they happen.
    bool openTranscript(const std::string &path, std::string &error);
    // Removes the link (only while it still points at this board's device).
    void stop();
    // Emit changed() at a steady frame rate while an effect plays (only a view needs it).
    void setAnimated(bool animated) { m_animated = animated; }

    const BoardModel &model() const { return m_model; }
    const std::string &devicePath() const { return m_slavePath; }
    const std::string &linkPath() const { return m_linkPath; }
    int comNumber() const { return m_comNumber; }
    // Answer bytes thrown away because nobody read them and the terminal's queue was full.
    std::size_t undeliveredBytes() const { return m_undelivered; }
    // Seconds since the board started: the times of the transcript.
    double now() const;

signals:
    // The strip or the settings may have changed.
    void changed();

private:
    void readFromHost();
    void pump();
    void writeTranscript();

    BoardModel m_model;
    std::chrono::steady_clock::time_point m_start;
    int m_master = -1;
    int m_slave = -1;  // held open so the master never sees a hang-up between clients
    std::string m_slavePath;
    std::string m_linkPath;
    int m_comNumber = 0;
    QSocketNotifier *m_readNotifier = nullptr;
    QTimer m_outputTimer;  // single shot, at the next answer byte's time
    QTimer m_frameTimer;   // repaints while an effect plays
    std::FILE *m_transcript = nullptr;
    std::size_t m_transcriptDone = 0;
    std::size_t m_undelivered = 0;
    bool m_animated = false;
};

}  // namespace stripmixer
