#include "output/core/MarkupPieces.h"

#include "output/core/Shorten.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace markup {

namespace {

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Digits as a CSS length; leading zeros dropped.
std::string Pixels(const std::string &digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first) + "px";
}

// Numbers pulled out of the coordinate writers, which put them between separators.
class TNumberSink {
public:
    explicit TNumberSink(std::vector<int> &numbers) : Numbers(numbers) {}
    void Put(std::string_view) {}
    void Int(int value) { Numbers.push_back(value); }

private:
    std::vector<int> &Numbers;
};

} // namespace

void CheckSpacing(const TMapOptions &options)
{
    for (const std::string *number : {&options.Border, &options.VSpace, &options.HSpace})
        for (char c : *number)
            if (c < '0' || c > '9')
                throw std::invalid_argument("the border and spacing options take digits only, not '" + Shortened(*number)
                                            + "'");
}

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
            warnings.push_back("alignment '" + Shortened(options.Align) + "' has no CSS equivalent and is left out");
    }
    if (!options.Border.empty())
        add(Pixels(options.Border) == "0" ? "border: 0" : "border: " + Pixels(options.Border) + " solid");
    const auto spacing = [](const std::string &text) { return text.empty() ? std::string("0") : Pixels(text); };
    if (!options.VSpace.empty() || !options.HSpace.empty())
        add("margin: " + spacing(options.VSpace) + " " + spacing(options.HSpace));
    return style;
}

void WarnImageAlt(const TMapOptions &options, std::vector<std::string> &warnings)
{
    if (options.Alt.empty())
        warnings.push_back("the image has no alternate description; its alt is empty");
}

bool TAltRule::Note(THotspotKind kind, const TFragmentArea &area)
{
    const int index = Counts[static_cast<int>(kind)]++;
    if (!area.StatusText.empty())
        return true;
    Missing.push_back({kind, index});
    return false;
}

void TAltRule::Finish(TFragmentOutput &output)
{
    if (!Missing.empty())
        output.Warnings.push_back(std::to_string(Missing.size()) + " hotspot(s) have no alt text, so their alt is their URL: "
                                  + DescribeHotspots(Missing));
    output.MissingAlt = std::move(Missing);
}

void CoordNumbers(THotspotKind kind, const TFragmentArea &area, std::vector<int> &numbers)
{
    numbers.clear();
    const auto *text = std::get_if<std::string>(&area.Coords);
    if (!text) {
        TNumberSink sink(numbers);
        textsink::PutShapeCoords(sink, kind, std::get<THotspotShape>(area.Coords));
        return;
    }
    // A region's own text: decimal numbers, a minus sign for negatives, any separators.
    for (std::size_t i = 0; i < text->size();) {
        const bool negative = (*text)[i] == '-';
        std::size_t at = i + negative;
        if (at >= text->size() || (*text)[at] < '0' || (*text)[at] > '9') {
            ++i;
            continue;
        }
        unsigned value = 0;
        for (; at < text->size() && (*text)[at] >= '0' && (*text)[at] <= '9'; ++at)
            value = value * 10 + static_cast<unsigned>((*text)[at] - '0');
        numbers.push_back(static_cast<int>(negative ? 0u - value : value));
        i = at;
    }
}

void PutSvgShape(std::string &out, THotspotKind kind, const std::vector<int> &numbers)
{
    const auto number = [&](std::size_t i) { return i < numbers.size() ? numbers[i] : 0; };
    textsink::AppendBounded(out, 64 + 24 * numbers.size(), [&](auto &sink) {
        const auto attribute = [&](std::string_view name, int value) {
            sink.Put(name);
            sink.Int(value);
            sink.Put('"');
        };
        if (kind == THotspotKind::Rect) {
            // A browser takes the corners in either order.
            const auto [left, right] = std::minmax({number(0), number(2)});
            const auto [top, bottom] = std::minmax({number(1), number(3)});
            attribute("<rect x=\"", left);
            attribute(" y=\"", top);
            attribute(" width=\"", textsink::Add(right, -left));
            attribute(" height=\"", textsink::Add(bottom, -top));
        } else if (kind == THotspotKind::Circle) {
            attribute("<circle cx=\"", number(0));
            attribute(" cy=\"", number(1));
            attribute(" r=\"", number(2));
        } else {
            sink.Put("<polygon points=\"");
            for (std::size_t i = 0; i + 1 < numbers.size(); i += 2) {
                if (i)
                    sink.Put(' ');
                sink.Int(numbers[i]);
                sink.Put(',');
                sink.Int(numbers[i + 1]);
            }
            sink.Put('"');
        }
        sink.Put("/>");
    });
}

} // namespace markup
