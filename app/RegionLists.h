// The regions on screen in three lists, in creation order: rectangles, circles, polygons.
#pragma once

#include "app/core/MapModel.h"

#include <QList>

#include <functional>

class TBaseRegion;

class TRegionLists {
public:
    using List = QList<TBaseRegion *>;

    bool Exist() const { return exist_; }
    // Creates three new, empty lists (the old regions must have been cleared).
    void Create();
    // Destroys every region, last to first per list, then the lists themselves.
    void Clear();

    List &Rects() { return lists_[0]; }
    List &Circles() { return lists_[1]; }
    List &Polys() { return lists_[2]; }
    const List &Rects() const { return lists_[0]; }
    const List &Circles() const { return lists_[1]; }
    const List &Polys() const { return lists_[2]; }
    List &Of(THotspotKind kind) { return lists_[static_cast<int>(kind)]; }
    const List &Of(THotspotKind kind) const { return lists_[static_cast<int>(kind)]; }

    // Every region: rectangles, then circles, then polygons.
    void ForEach(const std::function<void(TBaseRegion *)> &visit) const;
    TBaseRegion *At(THotspotRef ref) const;
    // Where a region is in the lists, or an invalid ref.
    THotspotRef RefOf(const TBaseRegion *region) const;
    // Removes the newest region of a list; it is destroyed once control returns to the event loop,
    // because its own handler may still be on the stack.
    void RemoveNewest(List &list);
    int Count() const { return int(lists_[0].size() + lists_[1].size() + lists_[2].size()); }

private:
    bool exist_ = false;
    List lists_[3];
};

// The kind of a region's shape.
THotspotKind KindOf(const TBaseRegion *region);
