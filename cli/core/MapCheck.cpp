#include "cli/core/MapCheck.h"

#include "cli/core/PixelCover.h"
#include "cli/core/PixelShape.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

struct TEntry {
    THotspotKind Kind;
    const TMapRegion *Region;
    const char *Name;
};

std::string Describe(const TEntry &entry, std::size_t index)
{
    return std::string(entry.Name) + " " + std::to_string(index + 1);
}

TFinding Covered(int line, const std::string &name)
{
    return {"covered", {line, name + " is wholly covered by earlier hotspots, so no click reaches it"}};
}

// Each hotspot against the pixels that earlier ones take: browsers give a pixel to the first
// hotspot that holds it, so what earlier hotspots take is lost to later ones.
void CheckCover(const std::vector<TEntry> &entries, const std::vector<std::string> &names, const TImageState &image,
                std::vector<std::pair<std::size_t, TFinding>> &findings)
{
    const TBounds picture{0, 0, image.Width, image.Height};
    TPixelCover cover(image.Width, image.Height);
    std::vector<TSpan> spans;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TPixelShape shape(entries[i].Kind, entries[i].Region->Shape);
        const TBounds box = Clip(shape.Bounds(), picture);
        const int line = entries[i].Region->Line;
        if (!box.Empty() && cover.Full(box)) {
            findings.push_back({i, Covered(line, names[i])});
            continue;
        }
        std::int64_t pixels = 0, taken = 0;
        for (std::int64_t y = box.Top; y < box.Bottom; ++y) {
            spans.clear();
            shape.AppendRow(y, spans);
            for (const TSpan &span : spans) {
                const TSpan inside{std::max(span.Begin, box.Left), std::min(span.End, box.Right)};
                pixels += std::max<std::int64_t>(0, inside.End - inside.Begin);
                taken += cover.Take(y, inside);
            }
        }
        if (pixels > 0 && taken == pixels)
            findings.push_back({i, Covered(line, names[i])});
        else if (taken > 0)
            findings.push_back({i, {"partly-covered", {line, names[i] + " is partly covered by earlier hotspots: "
                                                             + std::to_string(taken) + " of its " + std::to_string(pixels)
                                                             + " pixels go to them"}}});
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

std::vector<TFinding> CheckMap(const TMapFile &map, const TImageState &image, TCheckOptions options)
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
    perHotspot.reserve(entries.size());
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
        if (options.MissingAlt && region.Alt.empty())
            add("missing-alt", "has no alt text, which screen readers need");
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
