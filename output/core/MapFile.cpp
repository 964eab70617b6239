#include "output/core/MapFile.h"
#include "output/core/MapFileReader.h"

#include "output/core/MapExtension.h"
#include "output/core/Shorten.h"
#include "output/core/StrToInt.h"
#include "output/core/TextSink.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// Lines as the map file defines them: CR ends one, a LF right after the CR is skipped, a lone LF
// is part of the text, and every line at or after the end is empty. The classic content given
// ends before the byte 26 that ends the file.
class TLineReader {
public:
    explicit TLineReader(std::string_view classic) : Rest(classic) {}

    std::string_view Next()
    {
        ++LineNumber;
        const char *cr = FindCr();
        if (!cr) {
            const std::string_view line = Rest;
            Rest = {};
            return line;
        }
        const std::size_t length = static_cast<std::size_t>(cr - Rest.data());
        const std::string_view line = Rest.substr(0, length);
        std::size_t skip = length + 1;
        if (skip < Rest.size() && Rest[skip] == '\n')
            ++skip;
        Rest.remove_prefix(skip);
        return line;
    }

    // The common number line, up to 9 plain digits with an optional "-" and the line end, read in
    // the one pass that finds its end. Anything else is left for Next and the full integer rule.
    bool NextPlainNumber(int &value)
    {
        const char *p = Rest.data();
        const char *const end = p + Rest.size();
        const bool negative = p != end && *p == '-';
        p += negative;
        const char *const digits = p;
        int magnitude = 0;
        while (p != end && p - digits < 9 && static_cast<unsigned char>(*p - '0') <= 9)
            magnitude = magnitude * 10 + (*p++ - '0');
        if (p == digits || (p != end && *p != '\r'))
            return false;
        if (p != end)
            p += (p + 1 != end && p[1] == '\n') ? 2 : 1;
        Rest.remove_prefix(static_cast<std::size_t>(p - Rest.data()));
        ++LineNumber;
        value = negative ? -magnitude : magnitude;
        return true;
    }

    int Line() const { return LineNumber; }

private:
    // Most lines are a few bytes: a plain loop finds their end sooner than a library call.
    const char *FindCr() const
    {
        const std::size_t quick = Rest.size() < 16 ? Rest.size() : 16;
        for (std::size_t i = 0; i < quick; ++i)
            if (Rest[i] == '\r')
                return Rest.data() + i;
        // Past the end Rest has no data at all, and memchr must not be given a null pointer.
        if (quick == Rest.size())
            return nullptr;
        return static_cast<const char *>(std::memchr(Rest.data() + quick, '\r', Rest.size() - quick));
    }

    std::string_view Rest;
    int LineNumber = 0;
};

// Thrown inside the reader only; TMapFileReader turns it into its error.
struct TStop {
    TMapFileError Error;
};

} // namespace

class TMapFileReader::TState {
public:
    TState(std::string_view bytes, std::size_t classicEnd)
        : File(bytes), Extension(ParseMapExtension(bytes, classicEnd)), Lines(bytes.substr(0, classicEnd))
    {
        Image = Lines.Next();
        DefaultURL = Lines.Next();
        DefaultTarget = Lines.Next();
        // A damaged block is kept whole or not at all: its texts might belong to other hotspots.
        if (Extension.Damage)
            DropExtension();
    }

    bool Next(THotspotKind &kind, TMapRegion &region)
    {
        if (Failure)
            return false;
        try {
            // A count is never trusted for memory: records are read one by one until it runs out.
            while (Remaining <= 0) {
                if (ListsStarted == 3) {
                    if (!Finished)
                        Finish();
                    return false;
                }
                Kind = static_cast<THotspotKind>(ListsStarted++);
                Remaining = Number();
            }
            --Remaining;
            kind = Kind;
            Record(region);
            ApplyTexts(region);
            return true;
        } catch (const TStop &stop) {
            Failure = stop.Error;
            return false;
        }
    }

    std::string Image, DefaultURL, DefaultTarget;
    std::optional<TMapFileError> Failure;
    std::optional<TMapFileError> ExtensionFailure;
    std::string_view File;
    TMapExtension Extension;

private:
    int Number()
    {
        int value = 0;
        if (Lines.NextPlainNumber(value))
            return value;
        const std::string_view line = Lines.Next();
        if (!TryStrToInt(line, value))
            throw TStop{{Lines.Line(), InvalidIntegerMessage(line)}};
        return value;
    }

    void Record(TMapRegion &region)
    {
        region.Line = Lines.Line() + 1;
        THotspotShape &shape = region.Shape;
        shape.Top = Number();
        shape.Left = Number();
        shape.Height = Number();
        shape.Width = Number();
        region.URL = Lines.Next();
        region.Target = Lines.Next();
        shape.Radius = 0;
        shape.Centre = {};
        shape.PointCount = 0;
        shape.Points.clear();
        if (Kind == THotspotKind::Circle) {
            shape.Radius = Number();
            shape.Centre.x = Number();
            shape.Centre.y = Number();
        } else if (Kind == THotspotKind::Poly) {
            shape.PointCount = Number();
            if (shape.PointCount < 0 || shape.PointCount > MaxPolygonPointCount)
                throw TStop{{Lines.Line(), "Line " + std::to_string(Lines.Line()) + ": a polygon point count of "
                                               + std::to_string(shape.PointCount) + " is outside 0 to "
                                               + std::to_string(MaxPolygonPointCount)}};
            shape.Points.resize(static_cast<std::size_t>(shape.PointCount) + 1);
            for (CoordPoint &point : shape.Points) {
                point.x = Number();
                point.y = Number();
            }
        }
    }

    // The block's texts of the record just read: its entries come next in the sorted lists.
    void ApplyTexts(TMapRegion &region)
    {
        const int kind = static_cast<int>(Kind);
        const std::vector<TExtensionEntry> &entries = Extension.Entries[kind];
        std::size_t &at = Cursor[kind];
        const auto number = static_cast<std::uint32_t>(++Read[kind]);
        region.Alt.clear();
        region.Title.clear();
        for (; at < entries.size() && entries[at].Index == number; ++at)
            (entries[at].Field == TExtensionField::Alt ? region.Alt : region.Title) = entries[at].Value;
    }

    // Entries left over name hotspots the map does not have: the first of them in the file is
    // the damage.
    void Finish()
    {
        Finished = true;
        const TExtensionEntry *first = nullptr;
        int kind = 0;
        for (int k = 0; k < 3; ++k)
            for (std::size_t i = Cursor[k]; i < Extension.Entries[k].size(); ++i)
                if (!first || Extension.Entries[k][i].Offset < first->Offset) {
                    first = &Extension.Entries[k][i];
                    kind = k;
                }
        if (Extension.Damage)
            ExtensionFailure = DamagedExtensionError(File, *Extension.Damage);
        if (!first)
            return;
        static constexpr const char *Keys[] = {"rect.", "circle.", "poly."};
        static constexpr const char *Words[] = {"rectangle ", "circle ", "polygon "};
        const std::string number = std::to_string(first->Index);
        ExtensionFailure = DamagedExtensionError(
            File, {first->Offset, std::string("'") + Keys[kind] + number + (first->Field == TExtensionField::Alt ? ".alt" : ".title")
                                      + "' names " + Words[kind] + number + ", but the map has only "
                                      + std::to_string(Read[kind])});
        DropExtension();
    }

    void DropExtension()
    {
        Extension.Options = {};
        for (std::vector<TExtensionEntry> &entries : Extension.Entries)
            entries.clear();
    }

    TLineReader Lines;
    THotspotKind Kind = THotspotKind::Rect;
    int ListsStarted = 0;
    int Remaining = 0;
    std::size_t Cursor[3] = {};
    int Read[3] = {};
    bool Finished = false;
};

TMapFileReader::TMapFileReader(std::string_view bytes) : State(std::make_unique<TState>(bytes, ClassicEnd(bytes))) {}
TMapFileReader::~TMapFileReader() = default;
const std::string &TMapFileReader::ImageFileName() const { return State->Image; }
const std::string &TMapFileReader::DefaultURL() const { return State->DefaultURL; }
const std::string &TMapFileReader::DefaultTarget() const { return State->DefaultTarget; }
bool TMapFileReader::Next(THotspotKind &kind, TMapRegion &region) { return State->Next(kind, region); }
const std::optional<TMapFileError> &TMapFileReader::Error() const { return State->Failure; }
const std::optional<TMapFileError> &TMapFileReader::ExtensionError() const { return State->ExtensionFailure; }
const TMapOptions &TMapFileReader::Options() const { return State->Extension.Options; }

namespace {

void CheckText(std::string_view text, const char *what)
{
    bool bad = false;
    for (char c : text)
        bad |= c == '\r' || c == 26;
    if (bad)
        throw std::invalid_argument(std::string("The ") + what + " '" + Shortened(text)
                                    + "' holds a line break or a byte 26, which a map file cannot keep");
}

// The reader takes PointCount + 1 points; any other number would shift every line after.
void CheckPolygon(const THotspotShape &shape)
{
    if (shape.PointCount < 0 || shape.PointCount > MaxPolygonPointCount
        || shape.Points.size() != static_cast<std::size_t>(shape.PointCount) + 1)
        throw std::invalid_argument("A polygon of point count " + std::to_string(shape.PointCount) + " with "
                                    + std::to_string(shape.Points.size())
                                    + " points cannot be written to a map file");
}

template <typename Sink>
void PutText(Sink &out, std::string_view text)
{
    out.Put(text);
    out.Put("\r\n");
}

template <typename Sink>
void PutNumber(Sink &out, int value)
{
    out.Int(value);
    out.Put("\r\n");
}

template <typename Sink>
void PutRegion(Sink &out, THotspotKind kind, const TMapRegion &region)
{
    const THotspotShape &shape = region.Shape;
    PutNumber(out, shape.Top);
    PutNumber(out, shape.Left);
    PutNumber(out, shape.Height);
    PutNumber(out, shape.Width);
    PutText(out, region.URL);
    PutText(out, region.Target);
    if (kind == THotspotKind::Circle) {
        PutNumber(out, shape.Radius);
        PutNumber(out, shape.Centre.x);
        PutNumber(out, shape.Centre.y);
    } else if (kind == THotspotKind::Poly) {
        PutNumber(out, shape.PointCount);
        for (const CoordPoint &point : shape.Points) {
            PutNumber(out, point.x);
            PutNumber(out, point.y);
        }
    }
}

} // namespace

TMapReadResult ReadMapFile(std::string_view bytes)
{
    TMapReadResult result;
    TMapFileReader reader(bytes);
    result.Map.ImageFileName = reader.ImageFileName();
    result.Map.DefaultURL = reader.DefaultURL();
    result.Map.DefaultTarget = reader.DefaultTarget();
    std::vector<TMapRegion> *lists[] = {&result.Map.Rects, &result.Map.Circles, &result.Map.Polys};
    THotspotKind kind{};
    TMapRegion region;
    while (reader.Next(kind, region))
        lists[static_cast<int>(kind)]->push_back(std::move(region));
    result.Error = reader.Error();
    result.ExtensionError = reader.ExtensionError();
    if (result.Error || result.ExtensionError) {
        // The block's texts went with the records; a map it does not fit keeps none of them.
        for (std::vector<TMapRegion> *list : lists)
            for (TMapRegion &each : *list) {
                each.Alt.clear();
                each.Title.clear();
            }
    } else {
        result.Map.Options = reader.Options();
    }
    return result;
}

std::string WriteMapFile(const TMapFile &map)
{
    CheckText(map.ImageFileName, "image path");
    CheckText(map.DefaultURL, "default URL");
    CheckText(map.DefaultTarget, "default target");
    const std::pair<THotspotKind, const std::vector<TMapRegion> *> lists[] = {
        {THotspotKind::Rect, &map.Rects}, {THotspotKind::Circle, &map.Circles}, {THotspotKind::Poly, &map.Polys}};
    for (const auto &[kind, list] : lists) {
        for (const TMapRegion &region : *list) {
            CheckText(region.URL, "URL");
            CheckText(region.Target, "target");
            if (kind == THotspotKind::Poly)
                CheckPolygon(region.Shape);
        }
    }
    // Each record is written in one pass into room reserved for its longest form; reserving the
    // sum of those touches no memory, only what is written is.
    const auto recordBound = [](const TMapRegion &region) {
        return region.URL.size() + region.Target.size() + 4 + 13 * (7 + 2 * region.Shape.Points.size());
    };
    std::size_t bound = 3 * 13 + 6 + map.ImageFileName.size() + map.DefaultURL.size() + map.DefaultTarget.size();
    for (const auto &[kind, list] : lists)
        for (const TMapRegion &region : *list)
            bound += recordBound(region);
    std::string out;
    out.reserve(bound);
    textsink::Append(out, [&](auto &sink) {
        PutText(sink, map.ImageFileName);
        PutText(sink, map.DefaultURL);
        PutText(sink, map.DefaultTarget);
    });
    for (const auto &[listKind, list] : lists) {
        const THotspotKind kind = listKind;
        const int count = static_cast<int>(list->size());
        textsink::AppendBounded(out, 13, [&](auto &sink) { PutNumber(sink, count); });
        for (const TMapRegion &region : *list)
            textsink::AppendBounded(out, recordBound(region), [&](auto &sink) { PutRegion(sink, kind, region); });
    }
    if (NeedsExtension(map))
        AppendMapExtension(out, map);
    return out;
}

std::string ImageNotFoundMessage(std::string_view imagePath)
{
    std::string message = "Image file not found. \r\nLooking for ";
    message += Shortened(imagePath);
    return message;
}

std::string FileErrorMessage(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(errnoValue);
    }
}
