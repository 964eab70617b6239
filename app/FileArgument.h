// What a file given to Mapolin (on the command line or dropped on the window) is: an image to
// start a new map over, a map file to open, or something it cannot take, said plainly.
#pragma once

#include <QString>

struct TFileArgument {
    enum class TKind { Image, Map, Refused };
    TKind Kind = TKind::Refused;
    QString Problem; // why it was refused, as a sentence
};

// Looks only at the file's type, its first bytes and its name: an image signature, else a map
// file's .im suffix, else an image format's suffix (whose reader then says what is wrong).
TFileArgument ClassifyFileArgument(const QString &path);
