#include "protocol.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace stripmixer {

std::string frame(int code)
{
    return std::to_string(code) + '/';
}

std::string frame(int code, long argument)
{
    return frame(code) + std::to_string(argument) + '/';
}

std::string frame(int code, std::string_view argument)
{
    std::string text = frame(code);
    text += argument;
    text += '/';
    return text;
}

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
}  // namespace

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Copy digits and one point; from_chars then converts without the C locale's say.
    std::string number;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            number += text[i];
        else if (text[i] == '.' && !point)
            point = true, number += '.';
        else
            break;
    }
    if (number.find_first_of("0123456789") == std::string::npos)
        return 0.0;

    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return negative ? -value : value;
}

std::string formatNumber(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));

    // Up to 15 significant digits, like the runtime's display format, then trim.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    if (text.rfind("0.", 0) == 0)
        text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0)
        text.erase(1, 1);
    return text;
}

}  // namespace stripmixer
