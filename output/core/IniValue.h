// Reads one text value from a settings file in the INI dialect that Qt-based programs write
// (groups in brackets, keys with "\" between levels, quoted and escaped values), keeping the value
// whole: commas do not split it into a list.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ini {

// The value of key ("Directories/DocumentDir") in group ("Options"), UTF-8; none when the key is
// missing or holds a typed value ("@ByteArray(...)", "@Variant(...)"). The last line of a key wins.
std::optional<std::string> Value(std::string_view text, std::string_view group, std::string_view key);

} // namespace ini
