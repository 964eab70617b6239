// The modern fragment of `compile --html5`: lower-case tags, every value quoted and escaped, alt
// on every area, presentation options as CSS, lines ended by LF.
#pragma once

#include "output/core/Fragment.h"

#include <string>
#include <string_view>
#include <vector>

// & < and " as character references; everything else unchanged.
std::string HtmlEscape(std::string_view text);

struct THtml5Fragment {
    std::string Bytes;
    std::vector<std::string> Warnings; // what was filled in or dropped, for standard error
};

// Throws std::invalid_argument for a map name that no valid page can hold (empty, or holding
// ASCII white space) and for border or spacing options that are not digits only.
THtml5Fragment WriteHtml5Fragment(const TFragmentMap &map);
