#include "app/RegionLists.h"

#include "regions/BaseRegionClass.h"

void TRegionLists::Create()
{
    rects_.clear();
    circles_.clear();
    polys_.clear();
    exist_ = true;
}

void TRegionLists::Clear()
{
    for (List *list : {&rects_, &circles_, &polys_}) {
        while (!list->isEmpty())
            delete list->takeLast();
    }
    exist_ = false;
}

void TRegionLists::ForEach(const std::function<void(TBaseRegion *)> &visit) const
{
    for (const List *list : {&rects_, &circles_, &polys_}) {
        // A copy: a visit may dispatch words that change the lists.
        const List regions = *list;
        for (TBaseRegion *region : regions)
            visit(region);
    }
}

void TRegionLists::RemoveNewest(List &list)
{
    if (list.isEmpty())
        return;
    TBaseRegion *region = list.takeLast();
    region->hide();
    region->deleteLater();
}
