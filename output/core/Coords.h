// The coordinate text of an AREA line and of the map file: numbers joined by ", ".
#pragma once

#include <string>
#include <vector>

std::string FormatCoords(const std::vector<int> &numbers);
