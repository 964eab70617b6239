#include "output/core/PreviewPage.h"

#include "output/core/Html5Fragment.h"
#include "output/core/MarkupPieces.h"

#include <stdexcept>

namespace {

constexpr std::string_view Head = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<style>
body { font-family: sans-serif; }
.stage { position: relative; display: inline-block; }
.stage img { display: block; }
.stage svg { position: absolute; left: 0; top: 0; pointer-events: none; }
.stage svg * { fill: none; fill-rule: evenodd; stroke: none; }
.stage svg .on { stroke: #1a73e8; stroke-width: 3px; vector-effect: non-scaling-stroke; }
</style>
)";

// Area i of the map lights outline i; both are in map order.
constexpr std::string_view Script = R"(<script>
const outlines = document.querySelectorAll('.stage svg > *');
document.querySelectorAll('.stage area').forEach((area, i) => {
  for (const [type, on] of [['mouseover', true], ['mouseout', false], ['focus', true], ['blur', false]])
    area.addEventListener(type, () => outlines[i].classList.toggle('on', on));
});
</script>
)";

std::string Escaped(std::string_view text, bool slashed = false)
{
    std::string out;
    textsink::TStringSink sink(out);
    textsink::PutEscaped(sink, text, slashed);
    return out;
}

void AddListItem(std::string &page, const std::string &what, const TFragmentArea &area)
{
    const std::string url = Escaped(area.URL, true);
    page += "<li>" + what + ": <a href=\"" + url + "\">" + (url.empty() ? "(no URL)" : url) + "</a>";
    if (!area.Target.empty())
        page += " in " + Escaped(area.Target);
    if (!area.StatusText.empty())
        page += " &mdash; " + Escaped(area.StatusText);
    page += "</li>\n";
}

} // namespace

std::string WritePreviewPage(const TFragmentMap &map)
{
    if (!map.ImageSize)
        throw std::invalid_argument("a preview needs the image's natural size, which is unknown");
    TFragmentMap shown;
    shown.Src = map.Src;
    shown.ImageSize = map.ImageSize;
    shown.Options.Name = map.Options.Name;
    shown.Options.Alt = map.Options.Alt;
    shown.Rects = map.Rects;
    shown.Circles = map.Circles;
    shown.Polys = map.Polys;
    shown.DefaultURL = map.DefaultURL;
    shown.DefaultTarget = map.DefaultTarget;
    const TFragmentOutput fragment = WriteHtml5Fragment(shown);

    const TImageSize size = *map.ImageSize;
    std::string page(Head);
    page += "<title>Preview of " + Escaped(map.Options.Name) + "</title>\n</head>\n<body>\n<div class=\"stage\">\n";
    page += fragment.Bytes;
    page += "<svg viewBox=\"0 0 " + std::to_string(size.Width) + " " + std::to_string(size.Height) + "\" width=\""
            + std::to_string(size.Width) + "\" height=\"" + std::to_string(size.Height) + "\" aria-hidden=\"true\">\n";
    std::string list;
    static constexpr const char *Words[] = {"Rectangle", "Circle", "Polygon"};
    const std::pair<THotspotKind, const std::vector<TFragmentArea> *> lists[] = {
        {THotspotKind::Rect, &map.Rects}, {THotspotKind::Circle, &map.Circles}, {THotspotKind::Poly, &map.Polys}};
    std::vector<int> numbers;
    for (const auto &[kind, areas] : lists)
        for (std::size_t i = 0; i < areas->size(); ++i) {
            markup::CoordNumbers(kind, (*areas)[i], numbers);
            markup::PutSvgShape(page, kind, numbers);
            page += '\n';
            AddListItem(list, Words[static_cast<int>(kind)] + (" " + std::to_string(i + 1)), (*areas)[i]);
        }
    if (!map.DefaultURL.empty()) {
        page += "<rect width=\"" + std::to_string(size.Width) + "\" height=\"" + std::to_string(size.Height) + "\"/>\n";
        AddListItem(list, "Default", {std::string(), map.DefaultURL, map.DefaultTarget, {}});
    }
    page += "</svg>\n</div>\n<h2>Links</h2>\n<ol>\n" + list + "</ol>\n";
    page += Script;
    page += "</body>\n</html>\n";
    return page;
}
