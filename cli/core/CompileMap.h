// The command line's compile: the fragment records of a map file, as the editor has them after
// loading it (no status texts), with the map options given on the command line.
#pragma once

#include "output/core/Fragment.h"
#include "output/core/MapFile.h"

#include <string>

// Src follows the editor's rule (ImageSrc of workDir and the map's image path).
TFragmentMap FragmentOfMapFile(TMapFile map, const std::string &workDir, TMapOptions options, bool clipboardMode);

// True when text is empty or only the digits 0 to 9, as the map options dialog lets them be typed.
bool IsDigitsOnly(const std::string &text);
