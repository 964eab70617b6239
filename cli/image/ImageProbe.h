// mapolin-map's image reading module. Only `check` loads it (dlopen), so the other commands start
// without Qt's GUI libraries, which would double their start-up time.
#pragma once

// The exported reader: decodes the image at path (local 8-bit) with the editor's decoder and
// limits; 1 with its size when it reads, 0 with the reason (cut to reasonSize - 1 bytes) when not.
extern "C" int mapolin_map_read_image(const char *path, int *width, int *height, char *reason, int reasonSize);

inline constexpr const char *ImageModuleName = "mapolin-map-image.so";
inline constexpr const char *ImageReaderSymbol = "mapolin_map_read_image";
