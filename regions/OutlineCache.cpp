#include "regions/OutlineCache.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>

namespace {

// Qt hands a raster operation of more than about a hundred spans in one go to its thread pool,
// whose wake-ups cost far more than an outline's pixels; pieces of fewer rows stay on this thread.
constexpr int MaxPieceRows = 64;
// Zero pixels leave the screen as it is; runs of them this short are laid over with the rest
// rather than cutting a piece in two (the dots of a black dotted line are such runs).
constexpr int MaxGap = 8;

struct TRun {
    int left;
    int right; // inclusive
};

// Adds a run that starts at or right of the last one's start, joining the last one when they
// overlap or nearly touch: pieces must never overlap, or the pixels they share would be laid
// twice and cancel out.
void Append(std::vector<TRun> &runs, const TRun &run)
{
    if (!runs.empty() && run.left <= runs.back().right + MaxGap)
        runs.back().right = std::max(runs.back().right, run.right);
    else
        runs.push_back(run);
}

std::vector<TRun> RowRuns(const QImage &image, int y)
{
    std::vector<TRun> runs;
    const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
        if (line[x])
            Append(runs, {x, x});
    return runs;
}

qint64 Width(const std::vector<TRun> &runs)
{
    qint64 width = 0;
    for (const TRun &run : runs)
        width += run.right - run.left + 1;
    return width;
}

// Puts runs in left order and makes one of those that overlap or nearly touch.
void Coalesce(std::vector<TRun> &runs)
{
    std::sort(runs.begin(), runs.end(), [](const TRun &a, const TRun &b) { return a.left < b.left; });
    std::vector<TRun> merged;
    for (const TRun &run : runs)
        Append(merged, run);
    runs = std::move(merged);
}

} // namespace

void TOutlineCache::Lay(QPainter &canvas, const QRect &exposed, const QSize &size,
                        const std::function<void(QPainter &)> &draw)
{
    // The recorded commands tell whether the outline changed: a move at a zoom that is not a
    // whole multiple can shift a corner by a pixel without changing the region's size.
    QPicture picture;
    {
        QPainter recorder(&picture);
        draw(recorder);
    }
    const QByteArray recipe(picture.data(), qsizetype(picture.size()));
    if (image_.size() != size || recipe != recipe_) {
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image_.fill(0);
        QPainter painter(&image_);
        painter.setBrush(Qt::NoBrush);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        draw(painter);
        painter.end();
        recipe_ = recipe;
        FindPieces();
    }
    const QPainter::CompositionMode mode = canvas.compositionMode();
    canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QRect &piece : pieces_)
        if (const QRect part = piece & exposed; !part.isEmpty())
            canvas.drawImage(part.topLeft(), image_, part);
    canvas.setCompositionMode(mode);
}

void TOutlineCache::FindPieces()
{
    // Following rows join a piece while its rectangles stay close to the pixels they hold, so an
    // outline costs a few pieces along its length, not its inside: a run of a row widens the
    // rectangle it nearly touches, or starts one of its own.
    pieces_.clear();
    for (int top = 0; top < image_.height();) {
        std::vector<TRun> united = RowRuns(image_, top);
        if (united.empty()) {
            ++top;
            continue;
        }
        qint64 content = Width(united);
        int bottom = top;
        while (bottom + 1 < image_.height() && bottom + 1 - top < MaxPieceRows) {
            const std::vector<TRun> next = RowRuns(image_, bottom + 1);
            std::vector<TRun> joined = united;
            joined.insert(joined.end(), next.begin(), next.end());
            Coalesce(joined);
            if (Width(joined) * (bottom + 2 - top) > 3 * (content + Width(next)) + 64)
                break;
            united = std::move(joined);
            content += Width(next);
            ++bottom;
        }
        for (const TRun &run : united)
            pieces_.emplace_back(run.left, top, run.right - run.left + 1, bottom + 1 - top);
        top = bottom + 1;
    }
}
