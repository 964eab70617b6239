// A message about one line of an input file, for the command line to print as FILE:LINE: text.
#pragma once

#include <string>

struct TNote {
    int Line = 0; // 0: about the file as a whole
    std::string Text;
    bool operator==(const TNote &) const = default;
};
