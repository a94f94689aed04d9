#pragma once

// The communication log: every frame sent and every answer read, as the exact text the program
// keeps (old text, CR, entry, CR) and as lines on screen.

#include <QPlainTextEdit>
#include <QString>

namespace stripmixer {

class CommunicationLog : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CommunicationLog(QWidget *parent = nullptr);

    // Adds CR + entry + CR. Only the new text is laid out, so the cost of an entry does not
    // depend on how long the log already is.
    void appendEntry(const QString &entry);
    void clearLog();

    const QString &text() const { return m_text; }

    // What an entry looks like on screen: CR starts a line, LF is dropped, and other control
    // characters show as visible symbols so nothing an answer carries can break the log.
    static QString displayText(const QString &text);

private:
    QString m_text;
};

}  // namespace stripmixer
