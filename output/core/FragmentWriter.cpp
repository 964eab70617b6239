#include "output/core/FragmentWriter.h"

namespace {

// Room for an area's fixed text and numbers; escaping may need more, which the sinks add.
std::size_t SizeHint(const TFragmentMap &map)
{
    std::size_t hint = 1024 + 2 * (map.Src.size() + map.Options.Name.size() + map.Options.Alt.size() + map.DefaultURL.size());
    for (const auto *list : {&map.Rects, &map.Circles, &map.Polys})
        for (const TFragmentArea &area : *list) {
            hint += 100 + area.URL.size() + area.Target.size() + area.StatusText.size() + area.Title.size();
            if (const auto *text = std::get_if<std::string>(&area.Coords))
                hint += text->size();
            else
                hint += 13 * (4 + 2 * std::get<THotspotShape>(area.Coords).Points.size());
        }
    return hint;
}

} // namespace

std::unique_ptr<TFragmentWriter> MakeFragmentWriter(TFragmentFormat format)
{
    switch (format) {
    case TFragmentFormat::Html5:
        return MakeHtml5Writer();
    case TFragmentFormat::Svg:
        return MakeSvgWriter();
    case TFragmentFormat::Classic:
        break;
    }
    return MakeClassicWriter();
}

TFragmentOutput WriteFragmentAs(TFragmentFormat format, const TFragmentMap &map)
{
    const std::unique_ptr<TFragmentWriter> writer = MakeFragmentWriter(format);
    writer->Begin(map, SizeHint(map));
    const std::pair<THotspotKind, const std::vector<TFragmentArea> *> lists[] = {
        {THotspotKind::Rect, &map.Rects}, {THotspotKind::Circle, &map.Circles}, {THotspotKind::Poly, &map.Polys}};
    for (const auto &[kind, list] : lists)
        for (const TFragmentArea &area : *list)
            writer->Add(kind, area);
    return writer->Finish();
}

std::string DescribeHotspots(const std::vector<THotspotRef> &hotspots, std::size_t limit)
{
    static constexpr const char *Words[] = {"rectangle", "circle", "polygon"};
    std::string text;
    const std::size_t named = hotspots.size() < limit ? hotspots.size() : limit;
    for (std::size_t i = 0; i < named; ++i) {
        if (i)
            text += i + 1 == hotspots.size() ? " and " : ", ";
        text += Words[static_cast<int>(hotspots[i].Kind)];
        text += ' ';
        text += std::to_string(hotspots[i].Index + 1);
    }
    if (named < hotspots.size())
        text += " and " + std::to_string(hotspots.size() - named) + " more";
    return text;
}
