// The image formats Mapolin reads: Qt's name of each, its file extensions and its entry in the
// open dialog's filter.
#pragma once

#include "imaging/core/StreamCheck.h"

#include <string>
#include <string_view>

namespace imageformats {

// Qt's name of the format ("gif", "jpeg", "png", "webp", "bmp"); empty for Unknown.
std::string_view NameOf(streamcheck::Format format);

// The format a file name's extension (without the dot, any case) stands for; Unknown if none.
streamcheck::Format ForExtension(std::string_view extension);

// "Name|patterns|..." for the open dialog: every format read first, then one entry per format.
std::string OpenFilter();

} // namespace imageformats
