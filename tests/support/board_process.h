#pragma once

// stripmixer-board as its own process, serving Com N in a COM folder, for real-time tests.

#include <QProcess>
#include <QStringList>

#include <string>
#include <vector>

namespace stripmixer::test {

class BoardProcess {
public:
    BoardProcess() = default;
    ~BoardProcess();
    BoardProcess(const BoardProcess &) = delete;
    BoardProcess &operator=(const BoardProcess &) = delete;

    // Starts the board as Com `number` in `comDir`, with a transcript, and waits (bounded) for
    // its link to appear. False when it did not come up.
    bool start(const std::string &comDir, int number, const QStringList &extra = {});

    QString linkPath() const { return m_linkPath; }
    QString transcriptPath() const { return m_transcriptPath; }

    // The transcript's lines without their times ("-> 90/", "<- AC").
    std::vector<std::string> transcriptLines() const;
    // Just the frames the board received.
    std::vector<std::string> framesReceived() const;

    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_linkPath;
    QString m_transcriptPath;
};

}  // namespace stripmixer::test
