// The command line's compile: the fragment records of a map file, as the editor has them after
// loading it (no status texts), with the map options given on the command line.
#pragma once

#include "output/core/Fragment.h"
#include "output/core/MapFile.h"

#include <optional>
#include <string>
#include <string_view>

// Src follows the editor's rule (ImageSrc of workDir and the map's image path).
TFragmentMap FragmentOfMapFile(TMapFile map, const std::string &workDir, TMapOptions options, bool clipboardMode);

// The legacy fragment straight from a map file's bytes, record by record, without holding the
// map: the bytes of WriteFragment(FragmentOfMapFile(...)) on the map that ReadMapFile reads. On a
// read error, that error and no fragment.
struct TCompiledMap {
    std::string Fragment;
    std::optional<TMapFileError> Error;
};
TCompiledMap CompileMapFile(std::string_view bytes, const std::string &workDir, TMapOptions options, bool clipboardMode);

// True when text is empty or only the digits 0 to 9, as the map options dialog lets them be typed.
bool IsDigitsOnly(const std::string &text);
