// Mapolin's own block after a map file's classic content: a byte 26 (which ends the file for every
// classic reader), then the hotspots' alt and title texts and the map options, each a key and a
// value of counted bytes. docs/map-file-extension.md describes the format.
#pragma once

#include "output/core/MapFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TExtensionField : std::uint8_t { Alt, Title };

// One hotspot text of the block: Index counts the hotspots of its kind from 1; Value points into
// the file's bytes; Offset is where its line starts in the file.
struct TExtensionEntry {
    std::uint32_t Index = 0;
    TExtensionField Field = TExtensionField::Alt;
    std::string_view Value;
    std::size_t Offset = 0;
};

// Where the block went wrong: the offset in the file and what was found there.
struct TExtensionDamage {
    std::size_t Offset = 0;
    std::string What;
};

struct TMapExtension {
    TMapOptions Options;
    // Per kind (THotspotKind order), sorted by Index; among equal indexes the later one wins.
    std::vector<TExtensionEntry> Entries[3];
    std::optional<TExtensionDamage> Damage;
};

// The offset of the byte 26 that ends the classic content, or the file's size.
std::size_t ClassicEnd(std::string_view file);

// The block of a whole file whose classic content ends at classicEnd (ClassicEnd). A file
// without one, or with bytes after its byte 26 that are not Mapolin's (a classic editor's
// padding), gives an empty block. Keys it does not know are skipped; on damage, the entries read
// before it are kept for the caller to drop.
TMapExtension ParseMapExtension(std::string_view file, std::size_t classicEnd);

// "Line N: ..." for a damaged block, with the line counted as the classic reader counts them.
TMapFileError DamagedExtensionError(std::string_view file, const TExtensionDamage &damage);

// True when the map holds anything that only the block keeps.
bool NeedsExtension(const TMapFile &map);

// Appends byte 26 and the block. Refuses (std::invalid_argument) a text that is not UTF-8.
void AppendMapExtension(std::string &out, const TMapFile &map);
