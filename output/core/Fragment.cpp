#include "output/core/Fragment.h"
#include "output/core/FragmentLines.h"
#include "output/core/FragmentWriter.h"

#include "output/core/TextSink.h"

#include <string_view>

using namespace textsink;

namespace {

constexpr std::string_view CrLf = "\r\n";

template <typename Sink>
void PutQuoted(Sink &out, std::string_view name, std::string_view value)
{
    out.Put(' ');
    out.Put(name);
    out.Put("=\"");
    out.Put(value);
    out.Put('"');
}

// URLs are written with "/" wherever the user typed "\".
template <typename Sink>
void PutHref(Sink &out, std::string_view url)
{
    out.Put(" HREF=\"");
    out.Slashed(url);
    out.Put('"');
}

template <typename Sink>
void PutImageLine(Sink &out, const TFragmentMap &map, std::string_view align)
{
    const TMapOptions &options = map.Options;
    out.Put("<IMG SRC=\"");
    out.Put(map.Src);
    out.Put("\" USEMAP=\"#");
    out.Put(options.Name);
    out.Put('"');
    if (!align.empty())
        PutQuoted(out, "ALIGN", align);
    if (!options.Alt.empty())
        PutQuoted(out, "ALT", options.Alt);
    if (!options.Border.empty()) {
        out.Put(" BORDER=");
        out.Put(options.Border);
    }
    if (!options.VSpace.empty() && options.VSpace != "0") {
        out.Put(" VSPACE=");
        out.Put(options.VSpace);
    }
    if (!options.HSpace.empty() && options.HSpace != "0") {
        out.Put(" HSPACE=");
        out.Put(options.HSpace);
    }
    out.Put('>');
    out.Put(CrLf);
}

template <typename Sink>
void PutArea(Sink &out, THotspotKind kind, const TFragmentArea &area)
{
    static constexpr std::string_view Openings[] = {"<AREA SHAPE=RECT COORDS=\"", "<AREA SHAPE=CIRCLE COORDS=\"",
                                                    "<AREA SHAPE=POLYGON COORDS=\""};
    out.Put(Openings[static_cast<int>(kind)]);
    if (const auto *text = std::get_if<std::string>(&area.Coords))
        out.Put(*text);
    else
        PutShapeCoords(out, kind, std::get<THotspotShape>(area.Coords));
    out.Put('"');
    PutHref(out, area.URL);
    if (!area.Target.empty())
        PutQuoted(out, "TARGET", area.Target);
    if (!area.StatusText.empty())
        PutQuoted(out, "ALT", area.StatusText);
    out.Put('>');
    out.Put(CrLf);
}

template <typename Sink>
void PutHead(Sink &out, const TFragmentMap &map, std::string_view align)
{
    if (map.ClipboardMode) {
        out.Put(ClipboardComment);
        out.Put(CrLf);
    }
    PutImageLine(out, map, align);
    out.Put("<MAP NAME=\"");
    out.Put(map.Options.Name);
    out.Put("\">");
    out.Put(CrLf);
}

template <typename Sink>
void PutTail(Sink &out, const TFragmentMap &map)
{
    if (!map.DefaultURL.empty()) {
        out.Put("<AREA SHAPE=DEFAULT");
        PutHref(out, map.DefaultURL);
        if (!map.DefaultTarget.empty())
            PutQuoted(out, "TARGET", map.DefaultTarget);
        out.Put('>');
        out.Put(CrLf);
    }
    out.Put("</MAP>");
    out.Put(CrLf);
}

// The fixed text of an AREA line is under 80 bytes; a number takes at most 13 with its ", ".
std::size_t AreaBound(const TFragmentArea &area)
{
    std::size_t bound = 80 + area.URL.size() + area.Target.size() + area.StatusText.size();
    if (const auto *text = std::get_if<std::string>(&area.Coords))
        return bound + text->size();
    return bound + 13 * (4 + 2 * std::get<THotspotShape>(area.Coords).Points.size());
}

std::string UpperAlign(const std::string &align)
{
    std::string upper = align;
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

} // namespace

namespace {

class TClassicWriter final : public TFragmentWriter {
public:
    void Begin(const TFragmentMap &head, std::size_t sizeHint) override
    {
        Head = &head;
        // Reserving touches no memory; only what is written is.
        Out.reserve(sizeHint);
        AppendFragmentHead(Out, head);
    }
    void Add(THotspotKind kind, const TFragmentArea &area) override { AppendFragmentArea(Out, kind, area); }
    TFragmentOutput Finish() override
    {
        AppendFragmentTail(Out, *Head);
        return {std::move(Out), {}, {}};
    }

private:
    const TFragmentMap *Head = nullptr;
    std::string Out;
};

} // namespace

std::unique_ptr<TFragmentWriter> MakeClassicWriter() { return std::make_unique<TClassicWriter>(); }

std::string WriteFragment(const TFragmentMap &map) { return WriteFragmentAs(TFragmentFormat::Classic, map).Bytes; }

void AppendFragmentHead(std::string &out, const TFragmentMap &map)
{
    const std::string align = UpperAlign(map.Options.Align);
    Append(out, [&](auto &sink) { PutHead(sink, map, align); });
}

void AppendFragmentArea(std::string &out, THotspotKind kind, const TFragmentArea &area)
{
    AppendBounded(out, AreaBound(area), [&](auto &sink) { PutArea(sink, kind, area); });
}

void AppendFragmentTail(std::string &out, const TFragmentMap &map)
{
    Append(out, [&](auto &sink) { PutTail(sink, map); });
}
