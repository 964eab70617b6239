#include "output/core/StrToInt.h"

#include "output/core/Shorten.h"

#include <cstdint>

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool TryStrToInt(std::string_view text, int &value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i == text.size())
        return false;
    // The magnitude may reach 2^31 for a negative number; anything past that is refused at once,
    // so a long run of digits never overflows the accumulator.
    const std::int64_t limit = std::int64_t(INT32_MAX) + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    if (!hex) {
        for (; i < text.size(); ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned('0');
            if (digit > 9)
                return false;
            magnitude = magnitude * 10 + digit;
            if (magnitude > limit)
                return false;
        }
    } else {
        for (; i < text.size(); ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0)
                return false;
            magnitude = magnitude * 16 + digit;
            if (magnitude > limit)
                return false;
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::string InvalidIntegerMessage(std::string_view text)
{
    std::string message = "'";
    message += Shortened(text);
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
