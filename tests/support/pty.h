#pragma once

// Real pseudo-terminals for the real-time tests: the program opens the slave side as its serial
// port, the test (or the simulated board) plays the board on the master side.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace stripmixer::test {

class PtyPair {
public:
    // Opens a new pair with the slave in raw mode. Check isOpen().
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

    // Sends `bytes` from the board's side. False if they could not all go within a second.
    bool write(std::string_view bytes);

    // What the program wrote: returns once `count` bytes came or `timeout` passed, with what
    // came so far. A zero timeout takes only what is there now.
    std::string read(std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

    // The board goes away: the program's side sees a hang-up.
    void closeMaster();

private:
    int m_master = -1;
    std::string m_slavePath;
};

// A temporary folder of comN links, for STRIPMIXER_COM_DIR. Removed with its entries when it
// goes; an environment it set is put back then.
class ComDir {
public:
    ComDir();
    ~ComDir();
    ComDir(const ComDir &) = delete;
    ComDir &operator=(const ComDir &) = delete;

    const std::string &path() const { return m_path; }

    // Makes comN a symbolic link to `target` (replacing an earlier one).
    bool link(int number, const std::string &target);
    void unlink(int number);

    // Points STRIPMIXER_COM_DIR at this folder for the folder's lifetime.
    void setEnvironment();

private:
    std::string entry(int number) const;

    std::string m_path;
    bool m_environmentSet = false;
    bool m_hadEnvironment = false;
    std::string m_previousEnvironment;
};

}  // namespace stripmixer::test
