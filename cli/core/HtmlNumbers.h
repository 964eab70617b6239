// The number rules browsers apply to image maps: an area's coords and an image's width and height.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

bool IsAsciiSpace(char c);
std::string_view TrimAsciiSpace(std::string_view text);

struct TNumberList {
    std::vector<double> Numbers;
    bool Clean = true; // false when some item held more than a number, such as "0x10", "5px" or "x"
};

// A list of numbers separated by white space, commas and semicolons. Text before a number is
// skipped, text after it ignored, and an item that holds no number reads as 0.
TNumberList ParseNumberList(std::string_view text);

// One number: an optional sign, digits with an optional fraction (or a fraction alone), an
// optional exponent; what follows is ignored. Nothing when the text does not start with a number
// or its value is beyond a double.
std::optional<double> ParseNumber(std::string_view text, std::size_t *used = nullptr);

struct TDimension {
    double Value = 0;
    bool Percent = false;
};

// A width or height attribute: leading white space, digits, an optional fraction, and a "%" for a
// percentage; nothing when it does not start with a digit.
std::optional<TDimension> ParseDimension(std::string_view text);
