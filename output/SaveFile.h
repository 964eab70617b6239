// Writing a whole file so that it is replaced only when complete, for the editor and mapolin-map:
// the bytes go to a temporary file beside it, NAME.mapolin-XXXXXX, which is flushed to the disk
// and renamed over NAME. A failure, or a kill at any moment, leaves the old file as it was. A
// temporary file of that pattern that a kill left behind is removed by the next save of NAME once
// it is StaleTemporaryAge old (younger ones may belong to a save still running).
#pragma once

#include <QString>

#include <string_view>

inline constexpr int StaleTemporaryAge = 60; // seconds

// Empty on success; else the runtime's file error text ("Disk full", "File access denied", ...)
// or why NAME cannot be replaced (a directory, a pipe or device). A symbolic link stays one: the
// file it points to is replaced.
QString WriteFileAtomically(const QString &path, std::string_view bytes);
