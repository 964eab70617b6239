// Turns a "Name|*.a;*.b|..." file filter into the "Name (*.a *.b);;..." form of Qt's file dialogs,
// which show it with the name alone, as the filter's own text reads.
#pragma once

#include <string>

namespace filefilter {

std::string ToQtFilter(const std::string &filter);

} // namespace filefilter
