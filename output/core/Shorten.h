// The one rule for quoting a value of unknown length in a message: a 10 MB line makes no
// readable message box or terminal line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest value that a message quotes whole.
inline constexpr std::size_t MaxQuotedLength = 100;

// text itself when it has at most limit bytes; else its first limit bytes (not cutting a UTF-8
// character) followed by "... (N bytes)".
std::string Shortened(std::string_view text, std::size_t limit = MaxQuotedLength);
