#include "output/core/MapFile.h"

#include "output/core/StrToInt.h"
#include "output/core/TextSink.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// Lines as the map file defines them: CR ends one, a LF right after the CR is skipped, a lone LF
// is part of the text, byte 26 ends the file, and every line at or after the end is empty.
class TLineReader {
public:
    explicit TLineReader(std::string_view bytes)
    {
        const void *eof = std::memchr(bytes.data(), 26, bytes.size());
        Rest = eof ? bytes.substr(0, static_cast<const char *>(eof) - bytes.data()) : bytes;
    }

    std::string_view Next()
    {
        ++LineNumber;
        const void *cr = std::memchr(Rest.data(), '\r', Rest.size());
        if (!cr) {
            const std::string_view line = Rest;
            Rest = {};
            return line;
        }
        const std::size_t length = static_cast<const char *>(cr) - Rest.data();
        const std::string_view line = Rest.substr(0, length);
        std::size_t skip = length + 1;
        if (skip < Rest.size() && Rest[skip] == '\n')
            ++skip;
        Rest.remove_prefix(skip);
        return line;
    }

    int Line() const { return LineNumber; }

private:
    std::string_view Rest;
    int LineNumber = 0;
};

// Thrown inside the reader only; ReadMapFile turns it into the result's error.
struct TStop {
    TMapFileError Error;
};

class TMapReader {
public:
    explicit TMapReader(std::string_view bytes) : Lines(bytes) {}

    void Read(TMapFile &map)
    {
        map.ImageFileName = Lines.Next();
        map.DefaultURL = Lines.Next();
        map.DefaultTarget = Lines.Next();
        ReadList(map.Rects, THotspotKind::Rect);
        ReadList(map.Circles, THotspotKind::Circle);
        ReadList(map.Polys, THotspotKind::Poly);
    }

private:
    int Number()
    {
        const std::string_view line = Lines.Next();
        int value = 0;
        if (!TryStrToInt(line, value))
            throw TStop{{Lines.Line(), InvalidIntegerMessage(line)}};
        return value;
    }

    // Records are appended one by one as they complete: a count is never trusted for memory.
    void ReadList(std::vector<TMapRegion> &list, THotspotKind kind)
    {
        const int count = Number();
        for (int i = 0; i < count; ++i)
            list.push_back(Record(kind));
    }

    TMapRegion Record(THotspotKind kind)
    {
        TMapRegion region;
        region.Line = Lines.Line() + 1;
        THotspotShape &shape = region.Shape;
        shape.Top = Number();
        shape.Left = Number();
        shape.Height = Number();
        shape.Width = Number();
        region.URL = Lines.Next();
        region.Target = Lines.Next();
        if (kind == THotspotKind::Circle) {
            shape.Radius = Number();
            shape.Centre.x = Number();
            shape.Centre.y = Number();
        } else if (kind == THotspotKind::Poly) {
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
        return region;
    }

    TLineReader Lines;
};

void CheckText(std::string_view text, const char *what)
{
    bool bad = false;
    for (char c : text)
        bad |= c == '\r' || c == 26;
    if (bad)
        throw std::invalid_argument(std::string("The ") + what + " '" + std::string(text)
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
    TMapReader reader(bytes);
    try {
        reader.Read(result.Map);
    } catch (const TStop &stop) {
        result.Error = stop.Error;
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
    return textsink::Build([&](auto &out) {
        PutText(out, map.ImageFileName);
        PutText(out, map.DefaultURL);
        PutText(out, map.DefaultTarget);
        for (const auto &[kind, list] : lists) {
            PutNumber(out, static_cast<int>(list->size()));
            for (const TMapRegion &region : *list)
                PutRegion(out, kind, region);
        }
    });
}

std::string ImageNotFoundMessage(std::string_view imagePath)
{
    std::string message = "Image file not found. \r\nLooking for ";
    message += imagePath;
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
