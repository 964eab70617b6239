#include "output/core/SvgMap.h"

#include "output/core/MarkupPieces.h"

#include <stdexcept>

using namespace textsink;
using markup::PutAttribute;

namespace {

// Shapes show no fill but take the pointer over their whole inside, counted as a browser counts
// a polygon AREA (even-odd); an outline shows on hover and keyboard focus.
constexpr std::string_view Style =
    "<style>.mapolin-map a > * { fill: none; fill-rule: evenodd; pointer-events: all; } "
    ".mapolin-map a:hover > *, .mapolin-map a:focus > * { stroke: #1a73e8; stroke-width: 3px; "
    "vector-effect: non-scaling-stroke; } .mapolin-map a:focus { outline: none; }</style>\n";

template <typename Sink>
void PutSize(Sink &out, TImageSize size)
{
    out.Put(" width=\"");
    out.Int(size.Width);
    out.Put("\" height=\"");
    out.Int(size.Height);
    out.Put('"');
}

// <a ...> with the link's attributes and its accessible name.
template <typename Sink>
void PutLinkStart(Sink &out, const std::string &url, const std::string &target, const std::string &name, bool nameIsUrl)
{
    out.Put("<a");
    PutAttribute(out, "href", url, true);
    if (!target.empty())
        PutAttribute(out, "target", target);
    PutAttribute(out, "aria-label", name, nameIsUrl);
    out.Put('>');
}

class TSvgWriter final : public TFragmentWriter {
public:
    void Begin(const TFragmentMap &head, std::size_t sizeHint) override
    {
        if (!head.ImageSize)
            throw std::invalid_argument("an SVG map needs the image's natural size, which is unknown");
        markup::CheckSpacing(head.Options);
        const TImageSize size = *head.ImageSize;
        Out.reserve(1024 + head.Src.size());
        Body.reserve(sizeHint);
        if (head.ClipboardMode)
            Out += markup::ClipboardComment;
        markup::WarnImageAlt(head.Options, Result.Warnings);
        std::string style = "max-width: 100%; height: auto";
        if (const std::string more = markup::ImageStyle(head.Options, Result.Warnings); !more.empty())
            style += "; " + more;
        Append(Out, [&](auto &sink) {
            sink.Put("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"mapolin-map\" viewBox=\"0 0 ");
            sink.Int(size.Width);
            sink.Put(' ');
            sink.Int(size.Height);
            sink.Put('"');
            PutSize(sink, size);
            PutAttribute(sink, "style", style);
            if (!head.Options.Alt.empty())
                PutAttribute(sink, "aria-label", head.Options.Alt);
            sink.Put(">\n");
            sink.Put(Style);
            sink.Put("<image");
            PutAttribute(sink, "href", head.Src);
            PutSize(sink, size);
            sink.Put("/>\n");
            if (!head.DefaultURL.empty()) {
                PutLinkStart(sink, head.DefaultURL, head.DefaultTarget, head.DefaultURL, true);
                sink.Put("<rect");
                PutSize(sink, size);
                sink.Put("/></a>\n");
            }
        });
    }

    void Add(THotspotKind kind, const TFragmentArea &area) override
    {
        const bool hasAlt = Alts.Note(kind, area);
        Starts.push_back(Body.size());
        AppendBounded(Body, 64 + 2 * area.URL.size() + area.Target.size() + area.StatusText.size() + area.Title.size(),
                      [&](auto &sink) {
                          PutLinkStart(sink, area.URL, area.Target, hasAlt ? area.StatusText : area.URL, !hasAlt);
                          if (!area.Title.empty()) {
                              sink.Put("<title>");
                              PutEscaped(sink, area.Title);
                              sink.Put("</title>");
                          }
                      });
        markup::CoordNumbers(kind, area, Numbers);
        markup::PutSvgShape(Body, kind, Numbers);
        Body += "</a>\n";
    }

    TFragmentOutput Finish() override
    {
        Out.reserve(Out.size() + Body.size() + 8);
        for (std::size_t i = Starts.size(); i-- > 0;) {
            const std::size_t end = i + 1 < Starts.size() ? Starts[i + 1] : Body.size();
            Out.append(Body, Starts[i], end - Starts[i]);
        }
        Out += "</svg>\n";
        Alts.Finish(Result);
        Result.Bytes = std::move(Out);
        return std::move(Result);
    }

private:
    std::string Out;
    std::string Body; // the links in map order, reversed by Finish
    std::vector<std::size_t> Starts;
    std::vector<int> Numbers;
    TFragmentOutput Result;
    markup::TAltRule Alts;
};

} // namespace

std::unique_ptr<TFragmentWriter> MakeSvgWriter() { return std::make_unique<TSvgWriter>(); }

TFragmentOutput WriteSvgMap(const TFragmentMap &map) { return WriteFragmentAs(TFragmentFormat::Svg, map); }
