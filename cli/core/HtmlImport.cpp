#include "cli/core/HtmlImport.h"

#include "output/core/Paths.h"

#include <gumbo.h>

#include <algorithm>
#include <cmath>
#include <climits>
#include <memory>
#include <optional>

namespace {

// Far beyond any image, and small enough that box sizes computed from two of them stay in range.
constexpr double MaxCoordinate = 1e9;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::string> Attribute(const GumboElement &element, const char *name)
{
    const GumboAttribute *attribute = gumbo_get_attribute(&element.attributes, name);
    if (!attribute)
        return std::nullopt;
    return std::string(attribute->value);
}

int LineOf(const GumboElement &element) { return static_cast<int>(element.start_pos.line); }

// Every element of the tree in document order, without recursion: a page of deeply nested
// unclosed tags must not exhaust the stack.
template <typename Visit>
void ForEachElement(const GumboNode *root, Visit visit)
{
    std::vector<const GumboNode *> stack{root};
    while (!stack.empty()) {
        const GumboNode *node = stack.back();
        stack.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            continue;
        visit(node->v.element);
        const GumboVector &children = node->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back(static_cast<const GumboNode *>(children.data[i - 1]));
    }
}

struct TPageMap {
    std::string Name;
    int Line = 0;
    const GumboElement *Element = nullptr;
};

// Numbers as browsers split a coords list: commas, semicolons and white space separate them.
struct TCoords {
    std::vector<int> Numbers;
    std::string Problem;
};

TCoords ParseCoords(std::string_view text)
{
    TCoords coords;
    std::size_t i = 0;
    const auto separator = [](char c) { return c == ',' || c == ';' || IsSpace(c); };
    while (i < text.size()) {
        while (i < text.size() && separator(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !separator(text[i]))
            ++i;
        if (start == i)
            break;
        const std::string token(text.substr(start, i - start));
        if (token.back() == '%') {
            coords.Problem = "percent coordinates ('" + token + "') depend on the image's displayed size";
            return coords;
        }
        char *end = nullptr;
        const double value = std::strtod(token.c_str(), &end);
        if (end == token.c_str() || !std::isfinite(value)) {
            coords.Problem = "'" + token + "' is not a number";
            return coords;
        }
        const double rounded = std::round(value);
        if (std::fabs(rounded) > MaxCoordinate) {
            coords.Problem = "the coordinate " + token + " is out of range";
            return coords;
        }
        coords.Numbers.push_back(static_cast<int>(rounded));
    }
    return coords;
}

// Browsers drop tabs and line breaks from a URL and the white space around it; a map file
// holds one line per value, so nothing else may end it early.
std::string CleanUrl(std::string_view href)
{
    std::string url;
    for (char c : Trim(href))
        if (c != '\t' && c != '\n' && c != '\r')
            url += c;
    return url;
}

class TImporter {
public:
    explicit TImporter(TImportResult &result) : Result(result) {}

    void Area(const GumboElement &area)
    {
        const int line = LineOf(area);
        const std::string shape = Lower(Trim(Attribute(area, "shape").value_or("rect")));
        const std::optional<std::string> href = Attribute(area, "href");
        const bool noHref = Attribute(area, "nohref").has_value() || !href;
        const std::string url = noHref ? std::string() : CleanUrl(*href);
        const std::string target = Attribute(area, "target").value_or("");
        if (url.find('\x1a') != std::string::npos || target.find_first_of("\r\n\x1a") != std::string::npos)
            return Refuse(line, "its href or target holds a line break or a byte 26, which a map file cannot keep");
        if (Attribute(area, "alt") || Attribute(area, "title"))
            ++TextsLeftOut;
        if (noHref && shape != "default")
            Note(line, "an area without a link (nohref) keeps an empty URL");
        if (shape == "default") {
            if (noHref)
                return Note(line, "a default area without a link is left out");
            if (DefaultLine)
                return Refuse(line, "a second default area (the first is on line " + std::to_string(DefaultLine)
                                        + "); a map file holds one");
            DefaultLine = line;
            Result.Map.DefaultURL = url;
            Result.Map.DefaultTarget = target;
            return;
        }
        const TCoords coords = ParseCoords(Attribute(area, "coords").value_or(""));
        if (!coords.Problem.empty())
            return Refuse(line, coords.Problem);
        const std::vector<int> &n = coords.Numbers;
        TMapRegion region;
        region.URL = url;
        region.Target = target;
        THotspotShape &s = region.Shape;
        if (shape == "circle" || shape == "circ") {
            if (n.size() < 3 || n[2] < 0)
                return Note(line, "a circle without a centre and a radius of 0 or more is left out, as browsers do");
            s = {n[1] - n[2], n[0] - n[2], 2 * n[2] + 1, 2 * n[2] + 1, n[2], {n[2], n[2]}, 0, {}};
            Result.Map.Circles.push_back(std::move(region));
        } else if (shape == "poly" || shape == "polygon") {
            const std::size_t points = n.size() / 2;
            if (points < 3)
                return Note(line, "a polygon of fewer than three points is left out, as browsers do");
            if (points > static_cast<std::size_t>(MaxImportedPolygonPoints))
                return Refuse(line, "a polygon of " + std::to_string(points) + " points; the editor holds at most "
                                        + std::to_string(MaxImportedPolygonPoints));
            int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
            for (std::size_t i = 0; i < points; ++i) {
                left = std::min(left, n[2 * i]);
                right = std::max(right, n[2 * i]);
                top = std::min(top, n[2 * i + 1]);
                bottom = std::max(bottom, n[2 * i + 1]);
            }
            s.Top = top;
            s.Left = left;
            s.Height = bottom - top + 1;
            s.Width = right - left + 1;
            s.PointCount = static_cast<int>(points);
            for (std::size_t i = 0; i <= points; ++i)
                s.Points.push_back({n[2 * (i % points)] - left, n[2 * (i % points) + 1] - top});
            Result.Map.Polys.push_back(std::move(region));
        } else {
            // rect, rectangle, and what browsers read as one: a missing or unknown shape.
            if (n.size() < 4)
                return Note(line, "a rectangle of fewer than four coordinates is left out, as browsers do");
            const int left = std::min(n[0], n[2]), top = std::min(n[1], n[3]);
            s.Top = top;
            s.Left = left;
            s.Height = std::max(n[1], n[3]) - top + 1;
            s.Width = std::max(n[0], n[2]) - left + 1;
            Result.Map.Rects.push_back(std::move(region));
        }
    }

    void Finish()
    {
        if (TextsLeftOut)
            Note(0, std::to_string(TextsLeftOut) + " area(s) carry alt or title texts; the map file keeps no status "
                                                    "texts, so they are left out");
    }

private:
    void Refuse(int line, const std::string &reason) { Result.Errors.push_back({line, "area refused: " + reason}); }
    void Note(int line, const std::string &text) { Result.Notes.push_back({line, text}); }

    TImportResult &Result;
    int DefaultLine = 0;
    int TextsLeftOut = 0;
};

std::string JoinNames(const std::vector<TPageMap> &maps)
{
    std::string names;
    for (const TPageMap &map : maps)
        names += (names.empty() ? "" : ", ") + ("'" + map.Name + "'");
    return names;
}

} // namespace

TImportResult ImportMap(std::string_view html, const TImportRequest &request)
{
    TImportResult result;
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput *)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size()),
        [](GumboOutput *parsed) { gumbo_destroy_output(&kGumboDefaultOptions, parsed); });
    std::vector<TPageMap> maps;
    std::vector<std::pair<std::string, std::string>> images; // usemap, src
    ForEachElement(output->root, [&](const GumboElement &element) {
        if (element.tag == GUMBO_TAG_MAP) {
            maps.push_back({Attribute(element, "name").value_or(Attribute(element, "id").value_or("")),
                            LineOf(element), &element});
        } else if (element.tag == GUMBO_TAG_IMG) {
            const std::optional<std::string> usemap = Attribute(element, "usemap");
            if (usemap)
                images.push_back({std::string(Trim(*usemap)), std::string(Trim(Attribute(element, "src").value_or("")))});
        }
    });
    if (maps.empty()) {
        result.Errors.push_back({0, "the page has no <map>"});
        return result;
    }
    const TPageMap *chosen = nullptr;
    if (request.MapName.empty()) {
        if (maps.size() > 1) {
            result.Errors.push_back({0, "the page has " + std::to_string(maps.size()) + " maps (" + JoinNames(maps)
                                            + "); choose one with --map"});
            return result;
        }
        chosen = &maps.front();
    } else {
        for (const TPageMap &map : maps)
            if (map.Name == request.MapName && !chosen)
                chosen = &map;
        if (!chosen) {
            result.Errors.push_back({0, "the page has no map named '" + request.MapName + "'; it has " + JoinNames(maps)});
            return result;
        }
    }
    if (!request.ImagePath.empty()) {
        result.Map.ImageFileName = request.ImagePath;
    } else {
        for (const auto &[usemap, src] : images) {
            if (usemap != "#" + chosen->Name || src.empty() || !result.Map.ImageFileName.empty())
                continue;
            const bool absolute = src.front() == '/' || src.find("://") != std::string::npos;
            result.Map.ImageFileName = absolute ? src : JoinPath(request.PageDir, src);
        }
        if (result.Map.ImageFileName.empty()) {
            result.Errors.push_back({chosen->Line, "no image with a src uses the map '" + chosen->Name
                                                       + "'; give the image with --image"});
            return result;
        }
    }
    if (result.Map.ImageFileName.find_first_of("\r\n\x1a") != std::string::npos) {
        result.Errors.push_back({chosen->Line, "the image path holds a line break, which a map file cannot keep"});
        return result;
    }
    // The areas of a map are all area elements inside it, those of a nested map included, as in
    // browsers.
    TImporter importer(result);
    const GumboVector &children = chosen->Element->children;
    for (unsigned i = 0; i < children.length; ++i)
        ForEachElement(static_cast<const GumboNode *>(children.data[i]), [&](const GumboElement &element) {
            if (element.tag == GUMBO_TAG_AREA)
                importer.Area(element);
        });
    importer.Finish();
    return result;
}
