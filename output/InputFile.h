// Reading a whole map file or page, for the editor and mapolin-map: only a regular file, opened
// without blocking (a FIFO would hang the open) and at most MaxInputFileSize bytes (an endless
// file such as /dev/zero would fill the memory).
#pragma once

#include <QString>

#include <string>

// 64 MiB: a map of a million hotspots with alt texts takes about half of it.
inline constexpr long long MaxInputFileSize = 64ll << 20;

struct TInputFile {
    std::string Bytes;
    // Empty when the file was read; else the runtime's file error text ("File not found", "File
    // access denied", ...) or why the file was not read.
    QString Error;
};

TInputFile ReadInputFile(const QString &path);

// The texts of files that are not read.
inline const char *const DirectoryError = "Is a directory, not a file";
inline const char *const SpecialFileError = "Is not a regular file but a pipe, device or socket";
inline const char *const TooLargeError = "Is larger than 64 MiB, more than any map file or page";
