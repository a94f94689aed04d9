#include "communication_log.h"

#include <QScrollBar>
#include <QTextCursor>

namespace stripmixer {

CommunicationLog::CommunicationLog(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // A read-only log never needs undo, and the undo stack would grow with every entry.
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QString CommunicationLog::displayText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == u'\r')
            shown += QChar(u'\n');  // a new line on screen
        else if (code == u'\n')
            continue;
        else if (code < 0x20)
            shown += QChar(char16_t(0x2400 + code));  // the control pictures: NUL is U+2400
        else if (code == 0x7F)
            shown += QChar(char16_t(0x2421));
        else if (code >= 0x80 && code < 0xA0)
            shown += QChar(QChar::ReplacementCharacter);  // C1 controls may break lines
        else if (code == 0x2028 || code == 0x2029)
            shown += QChar(QChar::ReplacementCharacter);
        else
            shown += ch;
    }
    return shown;
}

void CommunicationLog::appendEntry(const QString &entry)
{
    const QString added = QChar(u'\r') + entry + QChar(u'\r');
    m_text += added;

    // The caret follows the end, as after every entry.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(displayText(added));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CommunicationLog::clearLog()
{
    m_text.clear();
    clear();
}

}  // namespace stripmixer
