// UTF-8 validity, the rule that tells a map file's own texts from those of another code page.
#pragma once

#include <string_view>

// True when text is well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool IsValidUtf8(std::string_view text);
