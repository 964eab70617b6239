// Map files in and out for the editor and mapolin-map alike: the one reader and writer of
// output/core/MapFile.h over the guarded reading of InputFile.h and the atomic writing of
// SaveFile.h.
#pragma once

#include "output/core/MapFile.h"

#include <QString>

struct TMapLoad {
    // Empty when the file was read (Read then holds what it held, errors included); else why not.
    QString Error;
    TMapReadResult Read;
};

TMapLoad LoadMapFile(const QString &path);

// Empty on success; else why the map or the file was refused: a text the map file cannot keep
// (WriteMapFile's refusal) or the file error (WriteFileAtomically).
QString SaveMapFile(const QString &path, const TMapFile &map);
