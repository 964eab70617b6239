// The modern fragment: lower-case tags, every value quoted and escaped, the image's natural width
// and height when known, alt on every area, presentation options as CSS, lines ended by LF.
#pragma once

#include "output/core/FragmentWriter.h"

// Throws std::invalid_argument for a map name that no valid page can hold (empty, or holding
// ASCII white space) and for border or spacing options that are not digits only.
TFragmentOutput WriteHtml5Fragment(const TFragmentMap &map);
