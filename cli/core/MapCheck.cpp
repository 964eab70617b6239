#include "cli/core/MapCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace {

using Int = std::int64_t;

// Pixels [Begin, End) of one image row.
struct TSpan {
    Int Begin;
    Int End;
};

struct TBounds {
    Int Left, Top, Right, Bottom; // right and bottom exclusive
    bool Empty() const { return Left >= Right || Top >= Bottom; }
};

// A hotspot as pixels, with the same rules for every shape: a rectangle is its box, a circle the
// pixels within the radius of its centre, a polygon the pixels whose centres it winds around.
class TPixelShape {
public:
    TPixelShape(THotspotKind kind, const THotspotShape &shape) : Kind(kind), Shape(shape)
    {
        const Int left = shape.Left, top = shape.Top;
        if (kind == THotspotKind::Rect) {
            Box = {left, top, left + std::max(0, shape.Width), top + std::max(0, shape.Height)};
        } else if (kind == THotspotKind::Circle) {
            const Int r = std::max(0, shape.Radius), cx = left + shape.Centre.x, cy = top + shape.Centre.y;
            Box = shape.Radius > 0 ? TBounds{cx - r, cy - r, cx + r + 1, cy + r + 1} : TBounds{0, 0, 0, 0};
        } else {
            const std::size_t count = std::min<std::size_t>(shape.Points.size(), std::max(shape.PointCount, 0));
            for (std::size_t i = 0; i < count; ++i)
                Vertices.push_back({left + shape.Points[i].x, top + shape.Points[i].y});
            Box = {0, 0, 0, 0};
            if (Vertices.size() >= 3) {
                Box = {INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
                for (const auto &[x, y] : Vertices) {
                    Box = {std::min(Box.Left, x), std::min(Box.Top, y), std::max(Box.Right, x + 1),
                           std::max(Box.Bottom, y + 1)};
                }
            }
        }
    }

    const TBounds &Bounds() const { return Box; }

    void AppendRow(Int y, std::vector<TSpan> &spans) const
    {
        if (y < Box.Top || y >= Box.Bottom)
            return;
        if (Kind == THotspotKind::Rect) {
            spans.push_back({Box.Left, Box.Right});
        } else if (Kind == THotspotKind::Circle) {
            const Int r = Shape.Radius, dy = y - (Box.Top + r);
            const Int half = static_cast<Int>(std::floor(std::sqrt(static_cast<double>(r * r - dy * dy))));
            spans.push_back({Box.Left + r - half, Box.Left + r + half + 1});
        } else {
            PolygonRow(y, spans);
        }
    }

private:
    // Non-zero winding at the row's pixel centres.
    void PolygonRow(Int y, std::vector<TSpan> &spans) const
    {
        const double yc = static_cast<double>(y) + 0.5;
        std::vector<std::pair<double, int>> crossings;
        for (std::size_t i = 0; i < Vertices.size(); ++i) {
            const auto [x0, y0] = Vertices[i];
            const auto [x1, y1] = Vertices[(i + 1) % Vertices.size()];
            if ((y0 <= yc) == (y1 <= yc))
                continue;
            const double x = x0 + (yc - y0) * static_cast<double>(x1 - x0) / static_cast<double>(y1 - y0);
            crossings.push_back({x, y1 > y0 ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].second;
            if (winding != 0) {
                const Int begin = static_cast<Int>(std::ceil(crossings[i].first - 0.5));
                const Int end = static_cast<Int>(std::ceil(crossings[i + 1].first - 0.5));
                if (begin < end)
                    spans.push_back({begin, end});
            }
        }
    }

    THotspotKind Kind;
    const THotspotShape &Shape;
    std::vector<std::pair<Int, Int>> Vertices;
    TBounds Box{};
};

TBounds Clip(const TBounds &a, const TBounds &b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

// Whether the union of spans covers every span of wanted.
bool Covers(std::vector<TSpan> &cover, const std::vector<TSpan> &wanted)
{
    std::sort(cover.begin(), cover.end(), [](const TSpan &a, const TSpan &b) { return a.Begin < b.Begin; });
    for (const TSpan &need : wanted) {
        Int reached = need.Begin;
        for (const TSpan &have : cover) {
            if (have.Begin > reached)
                break;
            reached = std::max(reached, have.End);
        }
        if (reached < need.End)
            return false;
    }
    return true;
}

// Earlier shapes by the grid cells their clipped bounds touch, so a large map compares each
// hotspot with its neighbours only.
class TCoverIndex {
public:
    static constexpr Int Cell = 64;

    void Add(std::size_t shape, const TBounds &bounds)
    {
        ForCells(bounds, [&](std::uint64_t key) { Cells[key].push_back(shape); });
    }

    std::vector<std::size_t> Near(const TBounds &bounds) const
    {
        std::vector<std::size_t> found;
        ForCells(bounds, [&](std::uint64_t key) {
            const auto it = Cells.find(key);
            if (it != Cells.end())
                found.insert(found.end(), it->second.begin(), it->second.end());
        });
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

private:
    template <typename Visit>
    static void ForCells(const TBounds &b, Visit visit)
    {
        for (Int cy = b.Top / Cell; cy <= (b.Bottom - 1) / Cell; ++cy)
            for (Int cx = b.Left / Cell; cx <= (b.Right - 1) / Cell; ++cx)
                visit(static_cast<std::uint64_t>(cy) << 32 | static_cast<std::uint64_t>(cx));
    }

    std::unordered_map<std::uint64_t, std::vector<std::size_t>> Cells;
};

struct TEntry {
    THotspotKind Kind;
    const TMapRegion *Region;
    const char *Name;
};

std::string Describe(const TEntry &entry, std::size_t index)
{
    return std::string(entry.Name) + " " + std::to_string(index + 1);
}

void CheckCover(const std::vector<TEntry> &entries, const std::vector<std::string> &names, const TImageState &image,
                std::vector<std::pair<std::size_t, TFinding>> &findings)
{
    const TBounds picture{0, 0, image.Width, image.Height};
    std::vector<TPixelShape> shapes;
    shapes.reserve(entries.size());
    std::vector<TBounds> clipped;
    TCoverIndex index;
    std::vector<TSpan> wanted, cover;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        shapes.emplace_back(entries[i].Kind, entries[i].Region->Shape);
        clipped.push_back(Clip(shapes[i].Bounds(), picture));
        const TBounds &box = clipped[i];
        if (box.Empty())
            continue;
        const std::vector<std::size_t> near = index.Near(box);
        bool covered = !near.empty();
        for (Int y = box.Top; covered && y < box.Bottom; ++y) {
            wanted.clear();
            shapes[i].AppendRow(y, wanted);
            for (TSpan &span : wanted)
                span = {std::max(span.Begin, box.Left), std::min(span.End, box.Right)};
            std::erase_if(wanted, [](const TSpan &s) { return s.Begin >= s.End; });
            cover.clear();
            for (std::size_t j : near)
                shapes[j].AppendRow(y, cover);
            covered = Covers(cover, wanted);
        }
        if (covered)
            findings.push_back({i, {"covered", {entries[i].Region->Line, names[i]
                                                   + " is wholly covered by earlier hotspots, so no click reaches it"}}});
        index.Add(i, box);
    }
}

void AppendUtf8Escaped(std::string &out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else {
            // A well-formed UTF-8 sequence is copied; any other byte becomes U+FFFD.
            const std::size_t length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
            bool valid = length > 0 && i + length <= text.size() && c < 0xF5;
            for (std::size_t k = 1; valid && k < length; ++k)
                valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (valid && length == 3) {
                const unsigned char c1 = static_cast<unsigned char>(text[i + 1]);
                valid = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);
            } else if (valid && length == 4) {
                const unsigned char c1 = static_cast<unsigned char>(text[i + 1]);
                valid = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
            }
            if (valid) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
        }
    }
}

void JsonString(std::string &out, std::string_view text)
{
    out += '"';
    AppendUtf8Escaped(out, text);
    out += '"';
}

} // namespace

bool IsValidBrowsingContextName(std::string_view target)
{
    if (target.empty() || target.front() != '_')
        return true;
    std::string lower(target);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower == "_blank" || lower == "_self" || lower == "_parent" || lower == "_top";
}

std::vector<TFinding> CheckMap(const TMapFile &map, const TImageState &image)
{
    std::vector<TFinding> findings;
    if (image.State == TImageState::TState::Missing)
        findings.push_back({"image-missing", {1, "the image file " + map.ImageFileName + " does not exist"}});
    else if (image.State == TImageState::TState::Unreadable)
        findings.push_back({"image-unreadable", {1, "the image file " + map.ImageFileName
                                                        + " cannot be read: " + image.Reason}});
    if (!IsValidBrowsingContextName(map.DefaultTarget))
        findings.push_back({"target", {3, "the default target '" + map.DefaultTarget
                                              + "' is not a valid browsing-context name"}});

    std::vector<TEntry> entries;
    std::vector<std::string> names;
    const std::pair<THotspotKind, const std::vector<TMapRegion> *> lists[] = {
        {THotspotKind::Rect, &map.Rects}, {THotspotKind::Circle, &map.Circles}, {THotspotKind::Poly, &map.Polys}};
    const char *kindNames[] = {"rectangle", "circle", "polygon"};
    for (const auto &[kind, list] : lists)
        for (std::size_t i = 0; i < list->size(); ++i) {
            entries.push_back({kind, &(*list)[i], kindNames[static_cast<int>(kind)]});
            names.push_back(Describe(entries.back(), i));
        }

    // Per-hotspot findings are gathered with the hotspot's position, so the output follows the file.
    std::vector<std::pair<std::size_t, TFinding>> perHotspot;
    const TBounds picture{0, 0, image.Width, image.Height};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TMapRegion &region = *entries[i].Region;
        const int line = region.Line;
        const auto add = [&](const char *kind, const std::string &text) {
            perHotspot.push_back({i, {kind, {line, names[i] + " " + text}}});
        };
        if (entries[i].Kind == THotspotKind::Poly && region.Shape.PointCount < 3)
            add("few-vertices", "has " + std::to_string(region.Shape.PointCount)
                                    + " vertices; fewer than three can never be clicked or selected");
        if (entries[i].Kind == THotspotKind::Circle && region.Shape.Radius <= 0)
            add("radius-zero", "has radius " + std::to_string(region.Shape.Radius));
        if (region.URL.empty())
            add("empty-url", "has an empty URL");
        if (!IsValidBrowsingContextName(region.Target))
            add("target", "has the target '" + region.Target + "', which is not a valid browsing-context name");
        if (image.State == TImageState::TState::Read) {
            const TBounds bounds = TPixelShape(entries[i].Kind, region.Shape).Bounds();
            const TBounds inside = Clip(bounds, picture);
            if (!bounds.Empty() && inside.Empty())
                add("outside", "lies wholly outside the " + std::to_string(image.Width) + " x "
                                   + std::to_string(image.Height) + " image");
            else if (!bounds.Empty() && (inside.Left != bounds.Left || inside.Top != bounds.Top
                                         || inside.Right != bounds.Right || inside.Bottom != bounds.Bottom))
                add("outside", "lies partly outside the " + std::to_string(image.Width) + " x "
                                   + std::to_string(image.Height) + " image");
        }
    }
    if (image.State == TImageState::TState::Read)
        CheckCover(entries, names, image, perHotspot);
    std::stable_sort(perHotspot.begin(), perHotspot.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[index, finding] : perHotspot)
        findings.push_back(std::move(finding));
    return findings;
}

std::string FindingJson(std::string_view file, const TFinding &finding)
{
    std::string out = "{\"file\":";
    JsonString(out, file);
    out += ",\"line\":" + std::to_string(finding.Note.Line) + ",\"kind\":";
    JsonString(out, finding.Kind);
    out += ",\"message\":";
    JsonString(out, finding.Note.Text);
    out += '}';
    return out;
}
