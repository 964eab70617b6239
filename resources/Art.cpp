#include "resources/Art.h"

#include "resources/ArtDrawing.h"

#include <QBitmap>
#include <QPixmapCache>

#include <array>

namespace {

struct CursorArt {
    const char *file; // the cursor resource's name, in lower case
    QPoint hotSpot;
};

// Numbers 1 to 7 in order; the regions choose their cursors by these numbers.
constexpr std::array<CursorArt, Art::kCursorCount> kCursors{{
    {"moveregion", {16, 16}},
    {"drawrect", {3, 28}},
    {"drawcircle", {3, 28}},
    {"drawpoly", {3, 28}},
    {"resizerect", {3, 28}},
    {"resizecircle", {3, 28}},
    {"resizepoly", {3, 28}},
}};

const CursorArt *Find(int number)
{
    return number >= 1 && number <= Art::kCursorCount ? &kCursors[static_cast<std::size_t>(number - 1)] : nullptr;
}

// Drawing the art takes a few milliseconds: once per run, unless the cache had to let it go.
template <typename Draw>
QPixmap Cached(const QString &key, Draw draw)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(draw());
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

} // namespace

namespace Art {

QCursor Cursor(int number)
{
    const CursorArt *art = Find(number);
    if (!art)
        return QCursor(Qt::ArrowCursor);
    const QString base = QStringLiteral(":/cursors/%1").arg(QString::fromLatin1(art->file));
    const QBitmap bitmap(base + QStringLiteral(".xbm"));
    const QBitmap mask(base + QStringLiteral("_mask.xbm"));
    return QCursor(bitmap, mask, art->hotSpot.x(), art->hotSpot.y());
}

QPixmap Glyph(const QString &name)
{
    return QPixmap(QStringLiteral(":/glyphs/%1.xpm").arg(name));
}

QIcon AppIcon()
{
    return QIcon(Glyph(QStringLiteral("mapolin")));
}

QPixmap SplashArt() { return Cached(QStringLiteral("mapolin/splash"), artdrawing::Splash); }

Clip Animation(const QString &resource)
{
    if (resource != QLatin1String("EMAILAVI"))
        return {};
    return {Cached(QStringLiteral("mapolin/emailavi"), artdrawing::EmailStrip), artdrawing::kEmailFrameCount, 150};
}

} // namespace Art
