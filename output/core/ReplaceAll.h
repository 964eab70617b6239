// Find-and-replace over single-byte text, shared by the fragment writer and the path helpers.
#pragma once

#include <string>
#include <string_view>

// Replaces every non-overlapping occurrence of find, searched left to right; the search resumes
// after each match, so a replacement is never searched again. Without caseSensitive, ASCII
// letters match either case and the untouched input supplies the kept text. An empty find or
// text replaces nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                       bool caseSensitive);
