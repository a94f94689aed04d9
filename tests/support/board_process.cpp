#include "board_process.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace stripmixer::test {

BoardProcess::~BoardProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}

bool BoardProcess::start(const std::string &comDir, int number, const QStringList &extra)
{
#ifdef STRIPMIXER_BOARD_PATH
    const QString dir = QString::fromStdString(comDir);
    m_linkPath = dir + QStringLiteral("/com%1").arg(number);
    m_transcriptPath = dir + QStringLiteral("/transcript-%1.txt").arg(number);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(STRIPMIXER_BOARD_PATH),
                    QStringList{QStringLiteral("--com-dir"), dir, QStringLiteral("--com"),
                                QString::number(number), QStringLiteral("--transcript"),
                                m_transcriptPath}
                        + extra);
    if (!m_process.waitForStarted(10000))
        return false;
    return QTest::qWaitFor([&] { return QFileInfo::exists(m_linkPath); }, 10000);
#else
    (void)comDir;
    (void)number;
    (void)extra;
    return false;
#endif
}

std::vector<std::string> BoardProcess::transcriptLines() const
{
    QFile file(m_transcriptPath);
    std::vector<std::string> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype space = line.indexOf(' ');
        lines.push_back(line.mid(space + 1).toStdString());
    }
    return lines;
}

std::vector<std::string> BoardProcess::framesReceived() const
{
    std::vector<std::string> frames;
    for (const std::string &line : transcriptLines()) {
        if (line.rfind("-> ", 0) == 0)
            frames.push_back(line.substr(3));
    }
    return frames;
}

}  // namespace stripmixer::test
