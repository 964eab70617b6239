// The one text-encoding rule of map files, fragments and pages, for the editor and mapolin-map
// alike: texts are written as UTF-8; bytes that are not valid UTF-8 come from another code page
// (a Western Windows one, say) and are read as Latin-1, so that their texts still show and save
// again readably. A file path read this way is found through QFile::encodeName.
#pragma once

#include <QString>

#include <string>
#include <string_view>

QString MapText(std::string_view bytes);
std::string MapBytes(const QString &text);
