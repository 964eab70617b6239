// The map as inline SVG for a page: the image and one link per hotspot over it, scaled with its
// container by its viewBox, without script. A browser gives the first of overlapping classic
// AREAs the click and SVG the last painted shape, so the links go in the reverse of map order,
// over a link of the default URL that covers the whole image.
#pragma once

#include "output/core/FragmentWriter.h"

// Throws std::invalid_argument when the image's natural size is unknown (the viewBox needs it)
// and for border or spacing options that are not digits only.
TFragmentOutput WriteSvgMap(const TFragmentMap &map);
