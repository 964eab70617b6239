// Text to a 32-bit integer, failing with the standard conversion error text; the one such rule
// of the program (event channel, map file).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Accepts optional leading spaces, an optional "+" or "-", then decimal digits or "$" and
// hexadecimal digits. Hexadecimal is a magnitude like decimal: the signed result must fit
// 32 bits. Anything else (trailing spaces, an empty text, overflow) is refused.
bool TryStrToInt(std::string_view text, int &value);

// "'<text>' is not a valid integer value", a long text shortened.
std::string InvalidIntegerMessage(std::string_view text);

// TryStrToInt, throwing EConvertError with InvalidIntegerMessage on refusal.
int StrToInt(const std::string &text);

// The value of one hexadecimal digit, or -1 for any other character.
int HexDigitValue(char c);
