// Decodes the Huffman-coded scans of a JPEG stream only as far as needed to tell whether every
// block of every scan is present: when a file lacks its end marker, only the coded data itself can
// tell a whole last scan from one cut short.
#pragma once

#include <cstdint>
#include <span>

namespace streamcheck {

// True when the stream has a Huffman-coded frame whose scans each hold all their blocks and, taken
// together, send every coefficient of every component to its last bit. Arithmetic-coded,
// hierarchical and lossless frames, and frames of more than 4 components or 4 Mi blocks, cannot
// be told whole this way and give false.
bool JpegScansAreWhole(std::span<const std::uint8_t> data);

} // namespace streamcheck
