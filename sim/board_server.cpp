#include "board_server.h"

#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace stripmixer {

namespace {

std::string systemError(const std::string &what, int error)
{
    return what + ": " + std::strerror(error);
}

std::string readLink(const std::string &path)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    return length < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(length));
}

// Transcript lines stay one line each whatever bytes came.
std::string printable(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

}  // namespace

BoardServer::BoardServer(BoardOptions options, QObject *parent)
    : QObject(parent), m_model(std::move(options)), m_start(std::chrono::steady_clock::now())
{
    m_outputTimer.setSingleShot(true);
    m_outputTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_outputTimer, &QTimer::timeout, this, &BoardServer::pump);
    m_frameTimer.setInterval(33);
    connect(&m_frameTimer, &QTimer::timeout, this, &BoardServer::pump);
}

BoardServer::~BoardServer()
{
    stop();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_transcript)
        std::fclose(m_transcript);
}

double BoardServer::now() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

bool BoardServer::start(const std::string &comDir, int comNumber, std::string &error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        error = systemError("Cannot open a pseudo-terminal", errno);
        return false;
    }
    char name[PATH_MAX];
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0
        || ::ptsname_r(m_master, name, sizeof name) != 0) {
        error = systemError("Cannot prepare the pseudo-terminal", errno);
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = systemError("Cannot open " + m_slavePath, errno);
        return false;
    }
    // Raw like a serial line: no echo, no CR/NL translation, nothing held back for lines.
    termios settings{};
    if (::tcgetattr(m_slave, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B115200);
        ::tcsetattr(m_slave, TCSANOW, &settings);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    // The link. One left behind by a board that died points at a terminal that is gone: replace
    // it. One pointing at a live terminal belongs to another board: leave it.
    if (::mkdir(comDir.c_str(), 0755) != 0 && errno != EEXIST) {
        error = systemError("Cannot create the folder " + comDir, errno);
        return false;
    }
    const std::string link = comDir + "/com" + std::to_string(comNumber);
    struct stat info{};
    if (::lstat(link.c_str(), &info) == 0) {
        struct stat target{};
        if (!S_ISLNK(info.st_mode)) {
            error = link + " exists and is not a link: not touching it";
            return false;
        }
        if (::stat(link.c_str(), &target) == 0) {
            error = "Com " + std::to_string(comNumber) + " is already taken: " + link + " -> "
                    + readLink(link);
            return false;
        }
    }
    const std::string temporary = link + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(m_slavePath.c_str(), temporary.c_str()) != 0) {
        error = systemError("Cannot create the link " + link, errno);
        return false;
    }
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        error = systemError("Cannot create the link " + link, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    m_linkPath = link;
    m_comNumber = comNumber;

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &BoardServer::readFromHost);
    return true;
}

bool BoardServer::openTranscript(const std::string &path, std::string &error)
{
    m_transcript = std::fopen(path.c_str(), "w");
    if (!m_transcript) {
        error = systemError("Cannot write the transcript " + path, errno);
        return false;
    }
    return true;
}

void BoardServer::stop()
{
    if (m_linkPath.empty())
        return;
    if (readLink(m_linkPath) == m_slavePath)
        ::unlink(m_linkPath.c_str());
    m_linkPath.clear();
}

void BoardServer::readFromHost()
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            m_model.receive(std::string_view(buffer, static_cast<std::size_t>(count)), now());
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            break;
        // With the slave held open this does not happen; if it does, stop watching rather than
        // spin on a descriptor that is always "readable".
        std::fprintf(stderr, "stripmixer-board: reading the terminal failed: %s\n",
                     count == 0 ? "end of file" : std::strerror(errno));
        m_readNotifier->setEnabled(false);
        break;
    }
    pump();
}

void BoardServer::pump()
{
    const double t = now();
    const std::string out = m_model.takeOutput(t, SIZE_MAX);
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t count = ::write(m_master, out.data() + done, out.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            // Nobody is reading and the terminal's queue is full: like a serial line with no
            // one listening, the bytes are gone (the next client's open flushes the rest).
            m_undelivered += out.size() - done;
            break;
        }
    }
    writeTranscript();

    if (const std::optional<double> next = m_model.nextOutputTime()) {
        const double wait = std::max(0.0, *next - now());
        m_outputTimer.start(static_cast<int>(std::ceil(wait * 1000)));
    } else {
        m_outputTimer.stop();
    }
    if (m_animated && m_model.effectRunning()) {
        if (!m_frameTimer.isActive())
            m_frameTimer.start();
    } else {
        m_frameTimer.stop();
    }
    emit changed();
}

void BoardServer::writeTranscript()
{
    const std::vector<TranscriptEntry> &entries = m_model.transcript();
    if (m_transcript) {
        for (std::size_t i = m_transcriptDone; i < entries.size(); ++i)
            std::fprintf(m_transcript, "%.6f %s %s\n", entries[i].time,
                         entries[i].fromHost ? "->" : "<-", printable(entries[i].text).c_str());
        if (m_transcriptDone < entries.size())
            std::fflush(m_transcript);
    }
    m_transcriptDone = entries.size();
}

}  // namespace stripmixer
