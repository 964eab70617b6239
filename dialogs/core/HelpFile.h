// Parser of Mapolin's help file: topics with a title and text, keyed by help context number.
//
// The file is UTF-8 text:
//   MAPOLIN-HELP 1
//   @topic <context> <title>
//   text lines; a blank line starts a new paragraph; a line starting "- " is a list item,
//   and indented lines after it carry the item on
//   @end
// "@end" closes the file, so a file cut short is told from a whole one.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace helpfile {

struct Topic {
    int context = 0;
    std::string title;
    // Paragraphs in order; each holds its lines as written (list items keep their "- " and are
    // joined with their indented continuation lines).
    std::vector<std::vector<std::string>> paragraphs;
};

struct ParseResult {
    std::map<int, Topic> topics;
    std::string error; // empty when the file was read whole
    int errorLine = 0; // 1-based line of the error, 0 when none
    bool Ok() const { return error.empty(); }
};

ParseResult Parse(std::string_view text);

} // namespace helpfile
