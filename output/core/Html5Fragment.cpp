#include "output/core/Html5Fragment.h"

#include "output/core/MarkupPieces.h"
#include "output/core/Shorten.h"

#include <stdexcept>

using namespace textsink;
using markup::PutAttribute;

namespace {

constexpr std::string_view Shapes[] = {"rect", "circle", "poly"};

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

// Coordinates as a plain comma list.
template <typename Sink>
void PutCompactCoords(Sink &out, THotspotKind kind, const TFragmentArea &area)
{
    if (const auto *text = std::get_if<std::string>(&area.Coords)) {
        for (char c : *text)
            if (c != ' ')
                out.Put(c);
    } else {
        PutShapeCoords(out, kind, std::get<THotspotShape>(area.Coords), ",");
    }
}

// An area without an alt text of its own gets its URL.
template <typename Sink>
void PutLinkAttributes(Sink &out, const TFragmentArea &area, bool hasAlt)
{
    PutAttribute(out, "href", area.URL, true);
    if (!area.Target.empty())
        PutAttribute(out, "target", area.Target);
    if (hasAlt)
        PutAttribute(out, "alt", area.StatusText);
    else
        PutAttribute(out, "alt", area.URL, true);
    if (!area.Title.empty())
        PutAttribute(out, "title", area.Title);
}

class THtml5Writer final : public TFragmentWriter {
public:
    void Begin(const TFragmentMap &head, std::size_t sizeHint) override
    {
        Head = &head;
        const std::string &name = head.Options.Name;
        if (name.empty())
            throw std::invalid_argument("the map name is empty");
        for (char c : name)
            if (IsAsciiSpace(c))
                throw std::invalid_argument("the map name '" + Shortened(name) + "' holds white space, which HTML does not allow");
        markup::CheckSpacing(head.Options);
        Out.reserve(sizeHint);
        if (head.ClipboardMode)
            Out += markup::ClipboardComment;
        markup::WarnImageAlt(head.Options, Result.Warnings);
        const std::string style = markup::ImageStyle(head.Options, Result.Warnings);
        Append(Out, [&](auto &sink) {
            sink.Put("<img");
            PutAttribute(sink, "src", head.Src);
            sink.Put(" usemap=\"#");
            PutEscaped(sink, name);
            sink.Put('"');
            if (head.ImageSize) {
                sink.Put(" width=\"");
                sink.Int(head.ImageSize->Width);
                sink.Put("\" height=\"");
                sink.Int(head.ImageSize->Height);
                sink.Put('"');
            }
            PutAttribute(sink, "alt", head.Options.Alt);
            if (!style.empty())
                PutAttribute(sink, "style", style);
            sink.Put(">\n<map");
            PutAttribute(sink, "name", name);
            sink.Put(">\n");
        });
    }

    void Add(THotspotKind kind, const TFragmentArea &area) override
    {
        const bool hasAlt = Alts.Note(kind, area);
        const std::size_t coords = std::holds_alternative<std::string>(area.Coords)
                                       ? std::get<std::string>(area.Coords).size()
                                       : 12 * (4 + 2 * std::get<THotspotShape>(area.Coords).Points.size());
        const std::size_t bound = 80 + coords + 2 * area.URL.size() + area.Target.size() + area.StatusText.size()
                                  + area.Title.size();
        AppendBounded(Out, bound, [&](auto &sink) {
            sink.Put("<area shape=\"");
            sink.Put(Shapes[static_cast<int>(kind)]);
            sink.Put("\" coords=\"");
            PutCompactCoords(sink, kind, area);
            sink.Put('"');
            PutLinkAttributes(sink, area, hasAlt);
            sink.Put(">\n");
        });
    }

    TFragmentOutput Finish() override
    {
        const TFragmentArea fallback{std::string(), Head->DefaultURL, Head->DefaultTarget, {}};
        Append(Out, [&](auto &sink) {
            if (!fallback.URL.empty()) {
                sink.Put("<area shape=\"default\"");
                PutLinkAttributes(sink, fallback, false);
                sink.Put(">\n");
            }
            sink.Put("</map>\n");
        });
        Alts.Finish(Result);
        Result.Bytes = std::move(Out);
        return std::move(Result);
    }

private:
    const TFragmentMap *Head = nullptr;
    std::string Out;
    TFragmentOutput Result;
    markup::TAltRule Alts;
};

} // namespace

std::unique_ptr<TFragmentWriter> MakeHtml5Writer() { return std::make_unique<THtml5Writer>(); }

TFragmentOutput WriteHtml5Fragment(const TFragmentMap &map) { return WriteFragmentAs(TFragmentFormat::Html5, map); }
