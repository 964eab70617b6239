// Quoted-printable encoding of single text lines for message bodies.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mail {

// A longer line is refused with "Paragraph is too large".
constexpr std::size_t MaxQuotedPrintableLine = 24576;
// Source characters per encoded line before a soft line break.
constexpr std::size_t QuotedPrintablePiece = 65;

// Appends the encoded form of one line (which holds no line break) to out, every output line
// ended by CR LF. With stuffDots, an output line starting with "." gets one more in front.
void AppendQuotedPrintableLine(std::string_view line, std::string &out, bool stuffDots);

} // namespace mail
