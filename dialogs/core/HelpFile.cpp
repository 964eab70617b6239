#include "dialogs/core/HelpFile.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace helpfile {

namespace {

constexpr std::string_view kSignature = "MAPOLIN-HELP 1";
constexpr std::string_view kTopic = "@topic";
constexpr std::string_view kEnd = "@end";

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(TrimRight(text.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// "<context> <title>" after "@topic"; the context is a positive decimal number.
bool ParseTopicHeader(std::string_view rest, Topic &topic, std::string &error)
{
    rest = TrimLeft(rest);
    const char *first = rest.data();
    const char *last = rest.data() + rest.size();
    const auto [end, status] = std::from_chars(first, last, topic.context);
    if (status != std::errc() || end == first || topic.context <= 0) {
        error = "the topic has no valid context number";
        return false;
    }
    if (end != last && *end != ' ' && *end != '\t') {
        error = "the topic has no valid context number";
        return false;
    }
    topic.title = std::string(TrimLeft(std::string_view(end, static_cast<std::size_t>(last - end))));
    if (topic.title.empty()) {
        error = "the topic has no title";
        return false;
    }
    return true;
}

} // namespace

ParseResult Parse(std::string_view text)
{
    ParseResult result;
    auto fail = [&result](int line, std::string message) {
        result.error = std::move(message);
        result.errorLine = line;
        return result;
    };

    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || lines.front() != kSignature)
        return fail(1, "this is not a Mapolin help file");

    Topic *topic = nullptr;
    bool paragraphOpen = false;
    bool ended = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int number = static_cast<int>(std::min<std::size_t>(i + 1, std::numeric_limits<int>::max()));
        if (ended) {
            if (!line.empty())
                return fail(number, "text after @end");
            continue;
        }
        if (line.starts_with('@')) {
            const std::string_view word = line.substr(0, line.find_first_of(" \t"));
            if (word == kEnd) {
                ended = true;
            } else if (word == kTopic) {
                Topic parsed;
                std::string error;
                if (!ParseTopicHeader(line.substr(kTopic.size()), parsed, error))
                    return fail(number, error);
                const int context = parsed.context;
                auto [it, inserted] = result.topics.emplace(context, std::move(parsed));
                if (!inserted)
                    return fail(number, "context " + std::to_string(context) + " appears twice");
                topic = &it->second;
                paragraphOpen = false;
            } else {
                return fail(number, "unknown directive " + std::string(word));
            }
            continue;
        }
        if (line.empty()) {
            paragraphOpen = false;
            continue;
        }
        if (!topic)
            return fail(number, "text before the first topic");
        // An indented line carries a list item on.
        if (paragraphOpen && (line.front() == ' ' || line.front() == '\t')
            && topic->paragraphs.back().back().starts_with("- ")) {
            topic->paragraphs.back().back() += ' ';
            topic->paragraphs.back().back() += TrimLeft(line);
            continue;
        }
        if (!paragraphOpen)
            topic->paragraphs.emplace_back();
        topic->paragraphs.back().emplace_back(line);
        paragraphOpen = true;
    }
    if (!ended)
        return fail(static_cast<int>(lines.size()), "the file ends without @end; it may be cut short");
    return result;
}

} // namespace helpfile
