// Pieces that the HTML5 fragment, the inline SVG and the preview page share: escaped attributes,
// the image's CSS, the alt rule of areas and the shapes as SVG elements.
#pragma once

#include "output/core/FragmentWriter.h"
#include "output/core/TextSink.h"

#include <string>
#include <string_view>
#include <vector>

namespace markup {

inline constexpr std::string_view ClipboardComment = "<!-- Paste this into the <body> section of your HTML file -->\n";

// ` name="value"`, escaped; with "\" turned into "/" when slashed (URLs).
template <typename Sink>
void PutAttribute(Sink &out, std::string_view name, std::string_view value, bool slashed = false)
{
    out.Put(' ');
    out.Put(name);
    out.Put("=\"");
    textsink::PutEscaped(out, value, slashed);
    out.Put('"');
}

// Refuses (std::invalid_argument) border and spacing options that are not digits only: no CSS
// length can be made of them.
void CheckSpacing(const TMapOptions &options);

// The CSS of the image's alignment, border and spacing, which HTML5 keeps no attributes for; an
// alignment without a CSS equivalent is left out with a warning. Empty when there is none.
std::string ImageStyle(const TMapOptions &options, std::vector<std::string> &warnings);

// The warning for an image without an alternate description, when it has none.
void WarnImageAlt(const TMapOptions &options, std::vector<std::string> &warnings);

// Counts the hotspots of each kind and notes those without an alt text, whose alt is their URL.
class TAltRule {
public:
    // True when the area has its own alt text.
    bool Note(THotspotKind kind, const TFragmentArea &area);
    // The warning naming them and the list, into output.
    void Finish(TFragmentOutput &output);

private:
    int Counts[3] = {};
    std::vector<THotspotRef> Missing;
};

// An area's coordinates as numbers, from its shape or parsed from its coordinate text.
void CoordNumbers(THotspotKind kind, const TFragmentArea &area, std::vector<int> &numbers);

// The SVG element of a shape of the given kind from its coordinate numbers, the way a browser
// reads the classic AREA: a rectangle from corner to corner, a polygon from vertex pairs.
void PutSvgShape(std::string &out, THotspotKind kind, const std::vector<int> &numbers);

} // namespace markup
