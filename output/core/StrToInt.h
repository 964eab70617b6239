// Text to a 32-bit integer, failing with the standard conversion error text; the one such rule
// of the program (event channel, map file).
#pragma once

#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Accepts leading blanks, an optional sign and decimal digits that fit 32 bits.
int StrToInt(const std::string &text);
