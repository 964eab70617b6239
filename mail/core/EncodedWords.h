// Header texts beyond ASCII as RFC 2047 encoded words, and display names quoted as RFC 5322 says.
#pragma once

#include <string>
#include <string_view>

namespace mail {

// True when a byte of the text is 128 or above.
bool HasNonAscii(std::string_view text);

// An unstructured header value (a subject): the stretch from the first to the last word that
// holds a non-ASCII byte becomes UTF-8 "Q" encoded words, folded onto continuation lines so
// every line stays short; the words around it stay as they are. ASCII text comes back unchanged.
std::string EncodeUnstructured(std::string_view text);

// A display name as it goes before "<address>": bare when it is made of atoms and blanks only,
// a quoted string (with \ and " escaped) when it holds a special such as . , < > or ", and
// encoded words when it holds non-ASCII bytes.
std::string EncodeDisplayName(std::string_view name);

} // namespace mail
