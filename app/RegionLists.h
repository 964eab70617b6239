// The three region lists of the map, in creation order: rectangles, circles, polygons.
#pragma once

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

    List &Rects() { return rects_; }
    List &Circles() { return circles_; }
    List &Polys() { return polys_; }
    const List &Rects() const { return rects_; }
    const List &Circles() const { return circles_; }
    const List &Polys() const { return polys_; }
    // Every region: rectangles, then circles, then polygons.
    void ForEach(const std::function<void(TBaseRegion *)> &visit) const;
    // Removes the newest region of a list; it is destroyed once control returns to the event loop,
    // because its own handler may still be on the stack.
    void RemoveNewest(List &list);
    int Count() const { return int(rects_.size() + circles_.size() + polys_.size()); }

private:
    bool exist_ = false;
    List rects_;
    List circles_;
    List polys_;
};
