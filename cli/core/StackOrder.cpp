#include "cli/core/StackOrder.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

namespace {

// The entries that hold the pixels of a row segment, by page order and by stored order: heaps
// whose stale tops (entries no longer holding) are dropped when looked at, so nothing is
// allocated once they have grown.
class TCovering {
public:
    explicit TCovering(const std::vector<TStackEntry> &entries) : Entries(entries), Counts(entries.size(), 0) {}

    void Change(std::size_t entry, int delta)
    {
        Counts[entry] += delta;
        if (delta < 0 || Counts[entry] != 1)
            return;
        ByPage.push_back({entry, entry});
        std::push_heap(ByPage.begin(), ByPage.end(), std::greater<>());
        if (Entries[entry].StoredRank != NotStored) {
            ByRank.push_back({Entries[entry].StoredRank, entry});
            std::push_heap(ByRank.begin(), ByRank.end(), std::greater<>());
        }
    }

    // The page's pick and the stored pick when both exist and differ.
    std::optional<std::pair<std::size_t, std::size_t>> Differing()
    {
        const std::optional<std::size_t> page = Top(ByPage), stored = Top(ByRank);
        if (!page || !stored || *page == *stored)
            return std::nullopt;
        return std::pair{*page, *stored};
    }

    // After a row every span has ended.
    void Clear()
    {
        ByPage.clear();
        ByRank.clear();
    }

private:
    using THeap = std::vector<std::pair<std::size_t, std::size_t>>; // key, entry; smallest key on top

    std::optional<std::size_t> Top(THeap &heap)
    {
        while (!heap.empty() && Counts[heap.front().second] == 0) {
            std::pop_heap(heap.begin(), heap.end(), std::greater<>());
            heap.pop_back();
        }
        return heap.empty() ? std::nullopt : std::optional<std::size_t>(heap.front().second);
    }

    const std::vector<TStackEntry> &Entries;
    std::vector<int> Counts;
    THeap ByPage;
    THeap ByRank;
};

} // namespace

bool StoredOrderDiffers(const std::vector<TStackEntry> &entries)
{
    std::size_t highest = 0;
    for (const TStackEntry &entry : entries) {
        if (entry.StoredRank == NotStored || entry.StoredRank < highest)
            return true;
        highest = entry.StoredRank;
    }
    return false;
}

TPickChanges FindPickChanges(const std::vector<TStackEntry> &entries, const TBounds &image, std::size_t workLimit)
{
    TPickChanges result;
    if (image.Empty() || !StoredOrderDiffers(entries))
        return result;
    std::vector<std::optional<TPixelShape>> shapes;
    std::vector<TBounds> bounds;
    std::vector<std::size_t> byTop;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Shape)
            shapes.emplace_back(TPixelShape(entries[i].Kind, *entries[i].Shape, TPixelShape::TFill::EvenOdd));
        else
            shapes.emplace_back(std::nullopt);
        bounds.push_back(shapes[i] ? Clip(shapes[i]->Bounds(), image) : image);
        if (!bounds[i].Empty())
            byTop.push_back(i);
    }
    std::stable_sort(byTop.begin(), byTop.end(), [&](std::size_t a, std::size_t b) { return bounds[a].Top < bounds[b].Top; });

    std::map<std::pair<std::size_t, std::size_t>, std::pair<std::int64_t, std::int64_t>> found;
    std::vector<std::size_t> active;
    std::vector<TSpan> spans;
    std::vector<std::tuple<std::int64_t, int, std::size_t>> events;
    TCovering covering(entries);
    std::size_t next = 0, work = 0;
    for (std::int64_t y = image.Top; y < image.Bottom;) {
        while (next < byTop.size() && bounds[byTop[next]].Top <= y)
            active.push_back(byTop[next++]);
        std::erase_if(active, [&](std::size_t i) { return bounds[i].Bottom <= y; });
        if (active.empty()) {
            if (next == byTop.size())
                break;
            y = bounds[byTop[next]].Top;
            continue;
        }
        work += active.size();
        if (work > workLimit) {
            result.Complete = false;
            break;
        }
        events.clear();
        for (std::size_t i : active) {
            spans.clear();
            if (shapes[i])
                shapes[i]->AppendRow(y, spans);
            else
                spans.push_back({image.Left, image.Right});
            for (const TSpan &span : spans) {
                const std::int64_t begin = std::max(span.Begin, image.Left), end = std::min(span.End, image.Right);
                if (begin < end) {
                    events.push_back({begin, 1, i});
                    events.push_back({end, -1, i});
                }
            }
        }
        std::sort(events.begin(), events.end());
        for (std::size_t e = 0; e < events.size();) {
            const std::int64_t x = std::get<0>(events[e]);
            for (; e < events.size() && std::get<0>(events[e]) == x; ++e)
                covering.Change(std::get<2>(events[e]), std::get<1>(events[e]));
            if (const auto pair = covering.Differing())
                found.try_emplace(*pair, x, y);
        }
        covering.Clear();
        // Rows of rectangles and whole-image areas repeat until one of them starts or ends.
        const bool boxesOnly = std::all_of(active.begin(), active.end(), [&](std::size_t i) {
            return !shapes[i] || entries[i].Kind == THotspotKind::Rect;
        });
        std::int64_t following = y + 1;
        if (boxesOnly) {
            following = next < byTop.size() ? bounds[byTop[next]].Top : image.Bottom;
            for (std::size_t i : active)
                following = std::min(following, bounds[i].Bottom);
        }
        y = std::max(following, y + 1);
    }
    for (const auto &[pair, pixel] : found)
        result.Changes.push_back({pair.first, pair.second, pixel.first, pixel.second});
    return result;
}
