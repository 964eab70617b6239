#include "output/core/Coords.h"

std::string FormatCoords(const std::vector<int> &numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i)
            text += ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}
