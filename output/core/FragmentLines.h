// The fragment piece by piece, for callers that produce areas one at a time (the command line's
// compile of a large map); WriteFragment writes the same pieces in one go.
#pragma once

#include "output/core/Fragment.h"

#include <string>

// The comment (clipboard mode), IMG and MAP lines; the area lists are not looked at.
void AppendFragmentHead(std::string &out, const TFragmentMap &map);
void AppendFragmentArea(std::string &out, THotspotKind kind, const TFragmentArea &area);
// The default AREA line (when DefaultURL is set) and </MAP>.
void AppendFragmentTail(std::string &out, const TFragmentMap &map);
