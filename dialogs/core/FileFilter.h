// Turns a "Name|*.a;*.b|..." file filter into the "Name (*.a *.b);;..." form of Qt's file dialogs,
// which show it with the name alone, as the filter's own text reads.
#pragma once

#include <string>

namespace filefilter {

std::string ToQtFilter(const std::string &filter);

// The extension a save dialog adds to a name typed without one: the requested extension as the
// filter's pattern spells it ("IM" with "*.im" gives "im"), so a case-sensitive file system gets
// the extension the file type is known by; unchanged when no pattern names it.
std::string DefaultSuffix(const std::string &filter, const std::string &extension);

} // namespace filefilter
