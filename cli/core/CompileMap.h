// The command line's compile: a map file's fragment as the editor writes it after loading the
// file, with the map options given on the command line over those that the file keeps.
#pragma once

#include "output/core/FragmentWriter.h"
#include "output/core/MapFile.h"

#include <optional>
#include <string>
#include <string_view>

// Map options given on the command line; each one not given is the map file's.
struct TGivenOptions {
    std::optional<std::string> Name, Align, Alt, Border, VSpace, HSpace;
};

// given over stored, each option by itself; a map name that neither has is fallbackName.
TMapOptions ChooseOptions(const TGivenOptions &given, const TMapOptions &stored, const std::string &fallbackName);

// Src follows the editor's rule (ImageSrc of workDir and the map's image path); each area's
// status text and title are its record's Alt and Title.
TFragmentMap FragmentOfMapFile(TMapFile map, const std::string &workDir, TMapOptions options, bool clipboardMode);

struct TCompileRequest {
    TFragmentFormat Format = TFragmentFormat::Classic;
    std::string WorkDir;
    bool ClipboardMode = false;
    TGivenOptions Options;
    std::string FallbackName; // the map name when neither given nor kept: the file's base name
    std::optional<TImageSize> ImageSize;
};

struct TCompiledMap {
    TFragmentOutput Output;
    std::optional<TMapFileError> Error;          // the classic content's error: no output
    std::optional<TMapFileError> ExtensionError; // a damaged block: compiled without it
};

// The fragment straight from a map file's bytes, record by record, without holding the map: the
// output of WriteFragmentAs on FragmentOfMapFile of what ReadMapFile reads, with the options
// chosen from the request and the file. Throws std::invalid_argument as the format's writer does.
TCompiledMap CompileMapFile(std::string_view bytes, const TCompileRequest &request);

// The image path of a map file: its first line, as the reader reads it.
std::string_view MapFileImagePath(std::string_view bytes);

// True when text is empty or only the digits 0 to 9, as the map options dialog lets them be typed.
bool IsDigitsOnly(const std::string &text);
