// UTF-8 validity, the rule that tells a map file's own texts from those of another code page.
#pragma once

#include <cstddef>
#include <string_view>

// True when text is well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool IsValidUtf8(std::string_view text);
// The length of the well-formed sequence that starts at byte i, or 0 with the length of its
// longest ill-formed start in invalid (what a decoder replaces with one U+FFFD).
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t i, std::size_t &invalid);
