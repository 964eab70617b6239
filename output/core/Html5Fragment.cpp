#include "cli/core/Html5Fragment.h"

#include "output/core/TextSink.h"

#include <stdexcept>
#include <utility>

namespace {

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void Attribute(std::string &out, std::string_view name, std::string_view value)
{
    out += ' ';
    out += name;
    out += "=\"";
    out += HtmlEscape(value);
    out += '"';
}

// Digits as a CSS length; leading zeros dropped.
std::string Pixels(const std::string &digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first) + "px";
}

// The old IMG presentation attributes are not valid any more; their CSS equivalents are.
std::string ImageStyle(const TMapOptions &options, std::vector<std::string> &warnings)
{
    std::string style;
    const auto add = [&](const std::string &declaration) {
        if (!style.empty())
            style += "; ";
        style += declaration;
    };
    const std::string align = Lower(options.Align);
    const std::pair<const char *, const char *> aligns[] = {
        {"left", "float: left"},           {"right", "float: right"},         {"top", "vertical-align: top"},
        {"middle", "vertical-align: middle"}, {"absmiddle", "vertical-align: middle"},
        {"bottom", "vertical-align: bottom"}, {"absbottom", "vertical-align: bottom"},
        {"baseline", "vertical-align: baseline"}, {"texttop", "vertical-align: text-top"}};
    if (!align.empty()) {
        bool known = false;
        for (const auto &[name, css] : aligns)
            if (align == name) {
                add(css);
                known = true;
            }
        if (!known)
            warnings.push_back("alignment '" + options.Align + "' has no CSS equivalent and is left out");
    }
    if (!options.Border.empty())
        add(Pixels(options.Border) == "0" ? "border: 0" : "border: " + Pixels(options.Border) + " solid");
    const auto spacing = [](const std::string &text) { return text.empty() ? std::string("0") : Pixels(text); };
    if (!options.VSpace.empty() || !options.HSpace.empty())
        add("margin: " + spacing(options.VSpace) + " " + spacing(options.HSpace));
    return style;
}

// Coordinates as a plain comma list.
std::string Coords(THotspotKind kind, const TFragmentArea &area)
{
    std::string text;
    if (const auto *given = std::get_if<std::string>(&area.Coords)) {
        text = *given;
    } else {
        textsink::TStringSink sink(text);
        textsink::PutShapeCoords(sink, kind, std::get<THotspotShape>(area.Coords));
    }
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact += c;
    return compact;
}

} // namespace

std::string HtmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

THtml5Fragment WriteHtml5Fragment(const TFragmentMap &map)
{
    const std::string &name = map.Options.Name;
    if (name.empty())
        throw std::invalid_argument("the map name is empty");
    for (char c : name)
        if (IsAsciiSpace(c))
            throw std::invalid_argument("the map name '" + name + "' holds white space, which HTML does not allow");
    for (const std::string *number : {&map.Options.Border, &map.Options.VSpace, &map.Options.HSpace})
        for (char c : *number)
            if (c < '0' || c > '9')
                throw std::invalid_argument("the border and spacing options take digits only, not '" + *number + "'");
    THtml5Fragment result;
    std::string &out = result.Bytes;
    if (map.ClipboardMode)
        out += "<!-- Paste this into the <body> section of your HTML file -->\n";
    out += "<img";
    Attribute(out, "src", map.Src);
    Attribute(out, "usemap", "#" + name);
    if (map.Options.Alt.empty())
        result.Warnings.push_back("the image has no alternate description (--alt); its alt is empty");
    Attribute(out, "alt", map.Options.Alt);
    const std::string style = ImageStyle(map.Options, result.Warnings);
    if (!style.empty())
        Attribute(out, "style", style);
    out += ">\n<map";
    Attribute(out, "name", name);
    out += ">\n";
    int altFromUrl = 0;
    const auto area = [&](const char *shape, std::string_view coords, const std::string &url, const std::string &target,
                          const std::string &status) {
        out += "<area";
        Attribute(out, "shape", shape);
        if (!coords.empty())
            Attribute(out, "coords", coords);
        std::string href = url;
        for (char &c : href)
            if (c == '\\')
                c = '/';
        Attribute(out, "href", href);
        if (!target.empty())
            Attribute(out, "target", target);
        if (status.empty())
            ++altFromUrl;
        Attribute(out, "alt", status.empty() ? href : status);
        out += ">\n";
    };
    const std::pair<THotspotKind, const std::vector<TFragmentArea> *> lists[] = {
        {THotspotKind::Rect, &map.Rects}, {THotspotKind::Circle, &map.Circles}, {THotspotKind::Poly, &map.Polys}};
    const char *shapes[] = {"rect", "circle", "poly"};
    for (const auto &[kind, list] : lists)
        for (const TFragmentArea &each : *list)
            area(shapes[static_cast<int>(kind)], Coords(kind, each), each.URL, each.Target, each.StatusText);
    if (!map.DefaultURL.empty())
        area("default", {}, map.DefaultURL, map.DefaultTarget, {});
    out += "</map>\n";
    if (altFromUrl)
        result.Warnings.push_back(std::to_string(altFromUrl)
                                  + " area(s) have no status text (a map file keeps none); their alt is their URL");
    return result;
}
