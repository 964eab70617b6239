#include "output/core/StrToInt.h"

#include <cstdint>

namespace {
int DigitValue(char c, int base)
{
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit;
}
} // namespace

bool TryStrToInt(std::string_view text, int &value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return false;
    // The magnitude may reach 2^31 for a negative number; anything past that is refused at once,
    // so a long run of digits never overflows the accumulator.
    const std::int64_t limit = std::int64_t(INT32_MAX) + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::string InvalidIntegerMessage(std::string_view text)
{
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

int StrToInt(const std::string &text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(InvalidIntegerMessage(text));
    return value;
}
