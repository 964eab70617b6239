// A page's bytes as UTF-8 text, decoded the way browsers choose the encoding of a local file:
// a byte order mark, else the <meta> charset or content type in the first 1024 bytes, else UTF-8
// when the bytes are valid UTF-8, else windows-1252.
#pragma once

#include "cli/core/Note.h"

#include <string>
#include <string_view>
#include <vector>

struct TPageText {
    std::string Encoding;     // the encoding's name, such as "UTF-8" or "windows-1252"
    std::string Source;       // why: "byte order mark", "<meta> on line 3", "no declaration"
    std::string Decoded;      // the text, unless it is the input itself (UTF-8 without a BOM)
    bool Unchanged = false;
    std::vector<TNote> Notes; // lines holding bytes that are invalid in the encoding
    std::string Error;        // an encoding whose text cannot be read (the "replacement" encoding)
};

TPageText DecodePage(std::string_view bytes);

// The line of a byte offset as the HTML parser counts lines: CR, LF and CR LF each end one.
int LineAt(std::string_view text, std::size_t offset);

// The encoding a label names (white space around it and case ignored), as in the table browsers
// share; empty for an unknown label.
std::string EncodingOfLabel(std::string_view label);
