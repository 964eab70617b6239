#include "cli/core/HtmlImport.h"

#include "cli/core/HtmlNumbers.h"
#include "cli/core/PageEncoding.h"
#include "cli/core/PageParse.h"
#include "cli/core/StackOrder.h"
#include "output/core/Paths.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

// Far beyond any image, and small enough that box sizes computed from two of them stay in range.
constexpr double MaxCoordinate = 1e9;
// Pairs of areas whose stored order changes a click are named up to this many, then counted.
constexpr std::size_t MaxNamedOrderChanges = 20;
// Rows of areas looked at for such changes (each area on each row counts once).
constexpr std::size_t MaxOrderWork = std::size_t(1) << 21;

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A number as a person would write it: whole numbers without a fraction.
std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
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

bool IsHtml(const GumboElement &element, GumboTag tag)
{
    return element.tag == tag && element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

// The elements of the document below root in tree order, without recursion. Template contents
// are not part of the document, and browsers that run scripts read noscript as text.
template <typename Visit>
void ForEachElement(const GumboNode *root, Visit visit)
{
    std::vector<const GumboNode *> stack{root};
    while (!stack.empty()) {
        const GumboNode *node = stack.back();
        stack.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT || IsHtml(node->v.element, GUMBO_TAG_NOSCRIPT))
            continue;
        visit(node->v.element);
        const GumboVector &children = node->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            stack.push_back(static_cast<const GumboNode *>(children.data[i - 1]));
    }
}

struct TPageMap {
    const GumboElement *Element = nullptr;
    std::optional<std::string> Name;
    std::optional<std::string> Id;

    std::string Label() const { return "'" + Name.value_or(Id.value_or("")) + "'"; }
};

// The first map in tree order by each of its names and ids.
using TMapIndex = std::unordered_map<std::string_view, const TPageMap *>;

TMapIndex IndexMaps(const std::vector<TPageMap> &maps)
{
    TMapIndex index;
    for (const TPageMap &map : maps)
        for (const std::optional<std::string> *key : {&map.Name, &map.Id})
            if (*key)
                index.emplace(**key, &map);
    return index;
}

const TPageMap *FirstMapNamed(std::string_view name, const TMapIndex &maps)
{
    const auto found = maps.find(name);
    return found == maps.end() ? nullptr : found->second;
}

// A usemap value: everything through the first "#" is dropped, and nothing after it names no map.
const TPageMap *MapOfReference(std::string_view reference, const TMapIndex &maps)
{
    const std::size_t hash = reference.find('#');
    if (hash == std::string_view::npos || hash + 1 == reference.size())
        return nullptr;
    return FirstMapNamed(reference.substr(hash + 1), maps);
}

std::string JoinLabels(const std::vector<const TPageMap *> &maps)
{
    std::string labels;
    for (const TPageMap *map : maps)
        labels += (labels.empty() ? "" : ", ") + map->Label();
    return labels;
}

bool HasScheme(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    return std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-'
               || c == '.';
    });
}

std::string PercentDecoded(std::string_view text)
{
    const auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// Browsers drop tabs and line breaks from a URL and the white space around it; a map file
// holds one line per value, so nothing else may end it early.
std::string CleanUrl(std::string_view href)
{
    std::string url;
    for (char c : TrimAsciiSpace(href))
        if (c != '\t' && c != '\n' && c != '\r')
            url += c;
    return url;
}

// The file an image's src names, resolved as a browser resolves it against a page on disk: a
// query or fragment cut off and %XX escapes decoded. Other URLs (http:, //host/...) stay as they
// are; empty when the src names no file.
std::string ImagePathOfSrc(std::string_view src, const std::string &pageDir)
{
    const std::string url = CleanUrl(src);
    const bool fileUrl = Lower(url.substr(0, 7)) == "file://";
    if (url.empty() || (!fileUrl && (url.starts_with("//") || HasScheme(url))))
        return url;
    std::string_view path = url;
    if (fileUrl) {
        path.remove_prefix(7);
        path.remove_prefix(std::min(path.size(), path.find('/')));
    }
    const std::string file = PercentDecoded(path.substr(0, path.find_first_of("?#")));
    if (file.empty() || file.front() == '/')
        return file;
    return JoinPath(pageDir, file);
}

const char *KindName(THotspotKind kind)
{
    return kind == THotspotKind::Rect ? "rectangle" : kind == THotspotKind::Circle ? "circle" : "polygon";
}

// An area kept for the map file (or, a default area without a link, left out), in page order.
struct TKeptArea {
    int Line = 0;
    std::optional<THotspotKind> Kind; // none: the default area
    std::size_t Index = 0;            // in its list of the map file
    bool Stored = true;
};

class TImporter {
public:
    TImporter(TImportResult &result, const TImportRequest &request) : Result(result), Request(request) {}

    void Run(const GumboNode *root)
    {
        std::vector<TPageMap> maps;
        std::vector<const GumboElement *> images;
        ForEachElement(root, [&](const GumboElement &element) {
            if (IsHtml(element, GUMBO_TAG_MAP))
                maps.push_back({&element, Attribute(element, "name"), Attribute(element, "id")});
            else if (IsHtml(element, GUMBO_TAG_IMG) && Attribute(element, "usemap"))
                images.push_back(&element);
        });
        const TMapIndex index = IndexMaps(maps);
        const TPageMap *chosen = ChooseMap(maps, index, images);
        if (!chosen || !ChooseImage(*chosen, index, images) || !FindScale())
            return;
        // A map's areas are all area elements inside it, those of a nested map included.
        const GumboVector &children = chosen->Element->children;
        for (unsigned i = 0; i < children.length; ++i)
            ForEachElement(static_cast<const GumboNode *>(children.data[i]), [&](const GumboElement &element) {
                if (IsHtml(element, GUMBO_TAG_AREA))
                    Area(element);
            });
        if (Result.Errors.empty())
            CheckOrder();
    }

private:
    const TPageMap *ChooseMap(const std::vector<TPageMap> &maps, const TMapIndex &index,
                              const std::vector<const GumboElement *> &images)
    {
        std::vector<const TPageMap *> all;
        for (const TPageMap &map : maps)
            all.push_back(&map);
        if (maps.empty()) {
            Error(0, "the page has no <map>");
            return nullptr;
        }
        if (!Request.MapName.empty()) {
            if (const TPageMap *named = FirstMapNamed(Request.MapName, index))
                return named;
            Error(0, "the page has no map with the name or id '" + Request.MapName + "'; it has " + JoinLabels(all));
            return nullptr;
        }
        std::vector<const TPageMap *> used;
        std::unordered_set<const TPageMap *> seen;
        for (const GumboElement *image : images)
            if (const TPageMap *map = MapOfReference(*Attribute(*image, "usemap"), index); map && seen.insert(map).second)
                used.push_back(map);
        if (used.size() == 1)
            return used.front();
        if (used.empty() && maps.size() == 1)
            return &maps.front();
        if (used.empty())
            Error(0, "the page has " + std::to_string(maps.size()) + " maps (" + JoinLabels(all)
                         + ") and no image uses one; choose one with --map");
        else
            Error(0, "the page's images use " + std::to_string(used.size()) + " maps (" + JoinLabels(used)
                         + "); choose one with --map");
        return nullptr;
    }

    // The first image that uses the map, preferring one with a src; its src is the image path
    // unless one was given.
    bool ChooseImage(const TPageMap &chosen, const TMapIndex &index, const std::vector<const GumboElement *> &images)
    {
        std::string src;
        for (const GumboElement *image : images) {
            if (MapOfReference(*Attribute(*image, "usemap"), index) != &chosen)
                continue;
            const std::string path = ImagePathOfSrc(Attribute(*image, "src").value_or(""), Request.PageDir);
            if (!Image || (src.empty() && !path.empty())) {
                Image = image;
                src = path;
            }
        }
        const int line = LineOf(*chosen.Element);
        Result.Map.ImageFileName = Request.ImagePath.empty() ? src : Request.ImagePath;
        if (Result.Map.ImageFileName.empty()) {
            Error(line, "no image with a src uses the map " + chosen.Label() + "; give the image with --image");
            return false;
        }
        if (Result.Map.ImageFileName.find_first_of("\r\n\x1a") != std::string::npos) {
            Error(line, "the image path holds a line break, which a map file cannot keep");
            return false;
        }
        KeptText(line, "the image path", Result.Map.ImageFileName);
        return true;
    }

    const TImageState &NaturalSize()
    {
        if (!Natural)
            Natural = Request.ReadImage ? Request.ReadImage(Result.Map.ImageFileName) : TImageState{};
        if (Natural->State == TImageState::TState::Read && (Natural->Width <= 0 || Natural->Height <= 0))
            *Natural = {TImageState::TState::Unreadable, 0, 0, "it has no pixels"};
        return *Natural;
    }

    // Coordinates are in the size the page shows the image at; the map file's are in the image's
    // own pixels.
    bool FindScale()
    {
        if (!Image)
            return true;
        const std::optional<TDimension> width = ParseDimension(Attribute(*Image, "width").value_or(""));
        const std::optional<TDimension> height = ParseDimension(Attribute(*Image, "height").value_or(""));
        if (!width && !height)
            return true;
        const int line = LineOf(*Image);
        if ((width && width->Percent) || (height && height->Percent)) {
            Error(line, "the image is shown at a percentage of the page's layout, so its areas' pixels depend on "
                        "the window; give it a width and height in pixels");
            return false;
        }
        const std::string shown = (width ? Number(width->Value) : std::string("?")) + " x "
                                  + (height ? Number(height->Value) : std::string("?"));
        const TImageState &natural = NaturalSize();
        if (natural.State != TImageState::TState::Read) {
            const std::string why = natural.State == TImageState::TState::Missing
                                        ? Result.Map.ImageFileName + " is not a file here"
                                        : natural.Reason;
            Error(line, "the image is shown at " + shown + " but its own size cannot be read (" + why
                            + "), so the coordinates cannot be scaled to it; give a copy of the image with --image");
            return false;
        }
        const double naturalWidth = natural.Width, naturalHeight = natural.Height;
        const double shownWidth = width ? width->Value : naturalWidth * height->Value / naturalHeight;
        const double shownHeight = height ? height->Value : naturalHeight * width->Value / naturalWidth;
        if (shownWidth == naturalWidth && shownHeight == naturalHeight)
            return true;
        if (shownWidth <= 0 || shownHeight <= 0) {
            Error(line, "the image is shown " + shown + " pixels large, so no area can be clicked");
            return false;
        }
        ScaleX = naturalWidth / shownWidth;
        ScaleY = naturalHeight / shownHeight;
        Note(line, "the image is shown at " + Number(shownWidth) + " x " + Number(shownHeight) + " but is "
                       + std::to_string(natural.Width) + " x " + std::to_string(natural.Height)
                       + " pixels: the coordinates are scaled to its own size");
        return true;
    }

    void Area(const GumboElement &area)
    {
        const int line = LineOf(area);
        // Keywords are compared whole, in any case; anything else is a rectangle.
        const std::string shape = Lower(Attribute(area, "shape").value_or("rect"));
        const std::optional<std::string> href = Attribute(area, "href");
        TMapRegion region;
        region.URL = href ? CleanUrl(*href) : std::string();
        region.Target = Attribute(area, "target").value_or("");
        region.Alt = Attribute(area, "alt").value_or("");
        region.Title = Attribute(area, "title").value_or("");
        if (region.URL.find('\x1a') != std::string::npos
            || region.Target.find_first_of("\r\n\x1a") != std::string::npos)
            return Refuse(line, "its href or target holds a line break or a byte 26, which a map file cannot keep");
        for (const auto &[what, text] : {std::pair{"href", &region.URL}, std::pair{"target", &region.Target},
                                         std::pair{"alt", &region.Alt}, std::pair{"title", &region.Title}})
            KeptText(line, std::string("its ") + what, *text);
        if (shape == "default")
            return Default(line, href.has_value(), region);
        if (!href)
            Note(line, "an area without a link keeps an empty URL");
        else if (Attribute(area, "nohref"))
            Note(line, "nohref is ignored beside an href, as browsers do; the link is kept");
        const std::string coordsText = Attribute(area, "coords").value_or("");
        TNumberList coords = ParseNumberList(coordsText);
        if (!coords.Clean) {
            std::string read;
            for (double n : coords.Numbers)
                read += (read.empty() ? "" : ", ") + Number(n);
            Note(line, "the coordinates '" + coordsText + "' are read as " + (read.empty() ? "nothing" : read)
                           + ", as browsers read them");
        }
        if (shape == "circle" || shape == "circ")
            Circle(line, coords.Numbers, std::move(region));
        else if (shape == "poly" || shape == "polygon")
            Polygon(line, coords.Numbers, std::move(region));
        else
            Rectangle(line, coords.Numbers, std::move(region));
    }

    void Default(int line, bool linked, const TMapRegion &region)
    {
        if (!linked) {
            Note(line, "a default area without a link is left out");
            Kept.push_back({line, std::nullopt, 0, false});
            return;
        }
        if (DefaultLine)
            return Refuse(line, "a second default area (the first is on line " + std::to_string(DefaultLine)
                                    + "); a map file holds one");
        DefaultLine = line;
        Result.Map.DefaultURL = region.URL;
        Result.Map.DefaultTarget = region.Target;
        if (!region.Alt.empty() || !region.Title.empty())
            Note(line, "the default area's alt and title texts are not kept; a map file keeps none for it");
        Kept.push_back({line, std::nullopt, 0, true});
    }

    // A scaled coordinate in whole pixels, or nothing (refused) when out of range.
    std::optional<int> Pixel(int line, double value, double scale)
    {
        const double scaled = std::round(value * scale);
        if (std::fabs(scaled) > MaxCoordinate) {
            Refuse(line, "the coordinate " + Number(value) + " is out of range");
            return std::nullopt;
        }
        return static_cast<int>(scaled);
    }

    void Circle(int line, const std::vector<double> &n, TMapRegion region)
    {
        if (n.size() < 3 || n[2] <= 0)
            return Note(line, "a circle without a centre and a radius above 0 is left out, as browsers do");
        if (std::fabs(ScaleX - ScaleY) * n[2] > 0.5)
            return Refuse(line, "the image is shown stretched, which makes this circle an ellipse; a map file "
                                "holds circles only");
        const std::optional<int> x = Pixel(line, n[0], ScaleX), y = Pixel(line, n[1], ScaleY);
        std::optional<int> r = Pixel(line, n[2], (ScaleX + ScaleY) / 2);
        if (!x || !y || !r)
            return;
        r = std::max(*r, 1);
        region.Shape = {*y - *r, *x - *r, 2 * *r + 1, 2 * *r + 1, *r, {*r, *r}, 0, {}};
        Store(line, THotspotKind::Circle, Result.Map.Circles, std::move(region));
    }

    void Polygon(int line, const std::vector<double> &n, TMapRegion region)
    {
        const std::size_t points = n.size() / 2;
        if (points < 3)
            return Note(line, "a polygon of fewer than three points is left out, as browsers do");
        if (points > static_cast<std::size_t>(MaxImportedPolygonPoints))
            return Refuse(line, "a polygon of " + std::to_string(points) + " points; the editor holds at most "
                                    + std::to_string(MaxImportedPolygonPoints));
        std::vector<CoordPoint> corners;
        for (std::size_t i = 0; i < points; ++i) {
            const std::optional<int> x = Pixel(line, n[2 * i], ScaleX), y = Pixel(line, n[2 * i + 1], ScaleY);
            if (!x || !y)
                return;
            corners.push_back({*x, *y});
        }
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
        for (const CoordPoint &p : corners) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        THotspotShape &s = region.Shape;
        s = {top, left, bottom - top + 1, right - left + 1, 0, {}, static_cast<int>(points), {}};
        for (std::size_t i = 0; i <= points; ++i)
            s.Points.push_back({corners[i % points].x - left, corners[i % points].y - top});
        Store(line, THotspotKind::Poly, Result.Map.Polys, std::move(region));
    }

    void Rectangle(int line, const std::vector<double> &n, TMapRegion region)
    {
        if (n.size() < 4)
            return Note(line, "a rectangle of fewer than four coordinates is left out, as browsers do");
        std::optional<int> c[4];
        for (int i = 0; i < 4; ++i)
            if (!(c[i] = Pixel(line, n[static_cast<std::size_t>(i)], i % 2 ? ScaleY : ScaleX)))
                return;
        const int left = std::min(*c[0], *c[2]), top = std::min(*c[1], *c[3]);
        region.Shape.Top = top;
        region.Shape.Left = left;
        region.Shape.Height = std::max(*c[1], *c[3]) - top + 1;
        region.Shape.Width = std::max(*c[0], *c[2]) - left + 1;
        Store(line, THotspotKind::Rect, Result.Map.Rects, std::move(region));
    }

    void Store(int line, THotspotKind kind, std::vector<TMapRegion> &list, TMapRegion region)
    {
        Kept.push_back({line, kind, list.size(), true});
        list.push_back(std::move(region));
    }

    // The map file keeps rectangles, then circles, then polygons, then the default; a browser
    // takes the page's order. Where that changes the area a click reaches, say so.
    void CheckOrder()
    {
        const TMapFile &map = Result.Map;
        std::vector<TStackEntry> entries;
        for (const TKeptArea &area : Kept) {
            if (!area.Kind) {
                entries.push_back({THotspotKind::Rect, nullptr,
                                   area.Stored ? map.Rects.size() + map.Circles.size() + map.Polys.size() : NotStored});
                continue;
            }
            const std::size_t before = *area.Kind == THotspotKind::Rect     ? 0
                                       : *area.Kind == THotspotKind::Circle ? map.Rects.size()
                                                                            : map.Rects.size() + map.Circles.size();
            const std::vector<TMapRegion> &list = *area.Kind == THotspotKind::Rect     ? map.Rects
                                                  : *area.Kind == THotspotKind::Circle ? map.Circles
                                                                                       : map.Polys;
            entries.push_back({*area.Kind, &list[area.Index].Shape, before + area.Index});
        }
        if (!StoredOrderDiffers(entries))
            return;
        const TPickChanges changes = FindPickChanges(entries, ImageBounds(entries), MaxOrderWork);
        for (std::size_t i = 0; i < changes.Changes.size() && i < MaxNamedOrderChanges; ++i) {
            const TPickChange &change = changes.Changes[i];
            const TKeptArea &upper = Kept[change.PageWinner], &lower = Kept[change.StoredWinner];
            const std::string at = "(" + std::to_string(change.X) + ", " + std::to_string(change.Y) + ")";
            const std::string other = "the " + Describe(lower) + " on line " + std::to_string(lower.Line);
            if (!upper.Stored)
                Note(upper.Line, "this default area without a link takes a click at " + at
                                     + " in the page; it is left out, so the click reaches " + other);
            else
                Note(upper.Line, "this " + Describe(upper) + " is above " + other
                                     + " in the page, but a map file keeps rectangles, circles, polygons and the "
                                       "default in that order, so a click at "
                                     + at + " reaches line " + std::to_string(lower.Line) + " instead");
        }
        if (changes.Changes.size() > MaxNamedOrderChanges)
            Note(0, std::to_string(changes.Changes.size() - MaxNamedOrderChanges)
                        + " more pairs of areas change which one a click reaches");
        if (!changes.Complete)
            Note(0, "too many overlapping areas to check fully whether the map file's order changes which area a "
                    "click reaches");
    }

    static std::string Describe(const TKeptArea &area) { return area.Kind ? KindName(*area.Kind) : "default area"; }

    // The image's own pixels when it can be read, else all pixels the areas reach.
    TBounds ImageBounds(const std::vector<TStackEntry> &entries)
    {
        const TImageState &natural = NaturalSize();
        if (natural.State == TImageState::TState::Read)
            return {0, 0, natural.Width, natural.Height};
        TBounds reach{0, 0, 0, 0};
        for (const TStackEntry &entry : entries) {
            if (!entry.Shape)
                continue;
            const TBounds box = TPixelShape(entry.Kind, *entry.Shape).Bounds();
            if (!box.Empty())
                reach = {0, 0, std::max(reach.Right, box.Right), std::max(reach.Bottom, box.Bottom)};
        }
        return reach;
    }

    // A value kept in the map file that holds U+FFFD: where the page had a NUL or a byte that is
    // invalid in its encoding.
    void KeptText(int line, const std::string &what, const std::string &text)
    {
        if (text.find("\xEF\xBF\xBD") != std::string::npos)
            Note(line, what + " holds U+FFFD, put there for a NUL or an undecodable byte of the page");
    }

    void Error(int line, const std::string &text) { Result.Errors.push_back({line, text}); }
    void Refuse(int line, const std::string &reason) { Result.Errors.push_back({line, "area refused: " + reason}); }
    void Note(int line, const std::string &text) { Result.Notes.push_back({line, text}); }

    TImportResult &Result;
    const TImportRequest &Request;
    const GumboElement *Image = nullptr;
    std::optional<TImageState> Natural;
    double ScaleX = 1;
    double ScaleY = 1;
    int DefaultLine = 0;
    std::vector<TKeptArea> Kept;
};

} // namespace

TImportResult ImportMap(std::string_view html, const TImportRequest &request)
{
    TImportResult result;
    if (html.size() > MaxImportedPageBytes) {
        result.Errors.push_back({0, "the page is larger than " + std::to_string(MaxImportedPageBytes >> 20) + " MB ("
                                        + std::to_string(html.size()) + " bytes); import reads smaller pages"});
        return result;
    }
    const TPageText page = DecodePage(html);
    if (!page.Error.empty()) {
        result.Errors.push_back({0, page.Error});
        return result;
    }
    if (page.Encoding != "UTF-8")
        result.Notes.push_back({0, "the page is read as " + page.Encoding + " (" + page.Source + ")"});
    result.Notes.insert(result.Notes.end(), page.Notes.begin(), page.Notes.end());
    const TPageParse parse(page.Unchanged ? html : std::string_view(page.Decoded));
    if (!parse.Root()) {
        result.Errors.push_back({parse.ErrorLine(), parse.Error()});
        return result;
    }
    TImporter(result, request).Run(parse.Root());
    return result;
}
