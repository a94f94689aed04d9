#pragma once

// Readable forms of the Qt values the window tests compare. Tests compare these strings rather
// than the values, so failures read well whatever printers other test files instantiate.

#include <QColor>
#include <QRect>
#include <QString>

#include <sstream>
#include <string>

namespace windowtest {

inline std::string show(const QRect &r)
{
    std::ostringstream os;
    os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
    return os.str();
}

inline std::string show(const QColor &c)
{
    std::ostringstream os;
    os << "RGB(" << c.red() << ", " << c.green() << ", " << c.blue() << ")";
    return os.str();
}

// Control characters written out, so CR, LF and NUL show in a failure.
inline std::string show(const QString &s)
{
    std::ostringstream os;
    for (const QChar ch : s) {
        const char16_t code = ch.unicode();
        if (code == u'\r')
            os << "\\r";
        else if (code == u'\n')
            os << "\\n";
        else if (code < 0x20 || code >= 0x7F)
            os << "\\u{" << std::hex << int(code) << std::dec << "}";
        else
            os << char(code);
    }
    return os.str();
}

}  // namespace windowtest
