#include "app/core/MapModel.h"

#include <iterator>

namespace {
constexpr THotspotKind Kinds[] = {THotspotKind::Rect, THotspotKind::Circle, THotspotKind::Poly};
// Image path, default URL and target come first; each list then starts with its count.
constexpr int HeaderLines = 3;
} // namespace

int RecordLines(THotspotKind kind, const THotspotShape &shape)
{
    switch (kind) {
    case THotspotKind::Rect: return 6;
    case THotspotKind::Circle: return 9;
    case THotspotKind::Poly: return 7 + 2 * (shape.PointCount + 1);
    }
    return 0;
}

int TMapModel::Count() const
{
    return static_cast<int>(lists_[0].size() + lists_[1].size() + lists_[2].size());
}

bool TMapModel::Contains(THotspotRef ref) const
{
    return ref.Valid() && std::size_t(ref.Index) < List(ref.Kind).size();
}

THotspotRef TMapModel::RefAt(int position) const
{
    if (position < 0)
        return {};
    for (THotspotKind kind : Kinds) {
        const int size = static_cast<int>(List(kind).size());
        if (position < size)
            return {kind, position};
        position -= size;
    }
    return {};
}

int TMapModel::PositionOf(THotspotRef ref) const
{
    int position = ref.Index;
    for (THotspotKind kind : Kinds) {
        if (kind == ref.Kind)
            return position;
        position += static_cast<int>(List(kind).size());
    }
    return -1;
}

void TMapModel::Insert(THotspotRef ref, TMapRegion record)
{
    auto &list = lists_[static_cast<int>(ref.Kind)];
    list.insert(list.begin() + ref.Index, std::move(record));
}

TMapRegion TMapModel::Remove(THotspotRef ref)
{
    auto &list = lists_[static_cast<int>(ref.Kind)];
    TMapRegion record = std::move(list[std::size_t(ref.Index)]);
    list.erase(list.begin() + ref.Index);
    return record;
}

void TMapModel::Replace(THotspotRef ref, TMapRegion record)
{
    lists_[static_cast<int>(ref.Kind)][std::size_t(ref.Index)] = std::move(record);
}

void TMapModel::ClearHotspots()
{
    for (auto &list : lists_)
        list.clear();
}

TMapFile TMapModel::ToMapFile() const
{
    TMapFile file;
    file.ImageFileName = ImageFileName;
    file.DefaultURL = DefaultURL;
    file.DefaultTarget = DefaultTarget;
    file.Options = Options;
    std::vector<TMapRegion> *lists[] = {&file.Rects, &file.Circles, &file.Polys};
    int line = HeaderLines + 1;
    for (THotspotKind kind : Kinds) {
        auto &list = *lists[static_cast<int>(kind)];
        list = List(kind);
        ++line; // the count
        for (TMapRegion &record : list) {
            record.Line = line;
            line += RecordLines(kind, record.Shape);
        }
    }
    return file;
}

THotspotRef TMapModel::RefAtLine(int line) const
{
    int at = HeaderLines + 1;
    for (THotspotKind kind : Kinds) {
        ++at;
        const auto &list = List(kind);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (at == line)
                return {kind, static_cast<int>(i)};
            at += RecordLines(kind, list[i].Shape);
        }
    }
    return {};
}
