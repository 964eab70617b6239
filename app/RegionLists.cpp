#include "app/RegionLists.h"

#include "regions/CircleRegionClass.h"
#include "regions/PolyRegionClass.h"

void TRegionLists::Create()
{
    for (List &list : lists_)
        list.clear();
    exist_ = true;
}

void TRegionLists::Clear()
{
    for (List &list : lists_) {
        while (!list.isEmpty())
            delete list.takeLast();
    }
    exist_ = false;
}

void TRegionLists::ForEach(const std::function<void(TBaseRegion *)> &visit) const
{
    for (const List &list : lists_) {
        // A copy: a visit may dispatch words that change the lists.
        const List regions = list;
        for (TBaseRegion *region : regions)
            visit(region);
    }
}

TBaseRegion *TRegionLists::At(THotspotRef ref) const
{
    const List &list = Of(ref.Kind);
    return ref.Valid() && ref.Index < list.size() ? list[ref.Index] : nullptr;
}

THotspotRef TRegionLists::RefOf(const TBaseRegion *region) const
{
    const THotspotKind kind = KindOf(region);
    const qsizetype index = Of(kind).indexOf(const_cast<TBaseRegion *>(region));
    return index < 0 ? THotspotRef{} : THotspotRef{kind, static_cast<int>(index)};
}

void TRegionLists::RemoveNewest(List &list)
{
    if (list.isEmpty())
        return;
    TBaseRegion *region = list.takeLast();
    region->hide();
    region->deleteLater();
}

THotspotKind KindOf(const TBaseRegion *region)
{
    if (qobject_cast<const TCircleRegion *>(region))
        return THotspotKind::Circle;
    if (qobject_cast<const TPolyRegion *>(region))
        return THotspotKind::Poly;
    return THotspotKind::Rect;
}
