// The page that the editor's Preview in Browser opens: the HTML5 fragment over its image, each
// hotspot outlined while the pointer or the keyboard focus is on it, and a list of the links.
#pragma once

#include "output/core/Fragment.h"

#include <string>

// map.Src is the image's name relative to the page, map.ImageSize its natural size (required:
// std::invalid_argument otherwise, as for the fragment's own refusals). The image's alignment,
// border and spacing are left out, so that the outlines lie over the hotspots.
std::string WritePreviewPage(const TFragmentMap &map);
