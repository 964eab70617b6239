#include "resources/Art.h"

#include <QBitmap>

#include <array>

namespace {

struct CursorArt {
    const char *name;
    const char *file;
    QPoint hotSpot;
};

// Numbers 1 to 7 in order; the regions choose their cursors by these numbers.
constexpr std::array<CursorArt, Art::kCursorCount> kCursors{{
    {"MOVEREGION", "moveregion", {16, 16}},
    {"DRAWRECT", "drawrect", {3, 28}},
    {"DRAWCIRCLE", "drawcircle", {3, 28}},
    {"DRAWPOLY", "drawpoly", {3, 28}},
    {"RESIZERECT", "resizerect", {3, 28}},
    {"RESIZECIRCLE", "resizecircle", {3, 28}},
    {"RESIZEPOLY", "resizepoly", {3, 28}},
}};

const CursorArt *Find(int number)
{
    return number >= 1 && number <= Art::kCursorCount ? &kCursors[static_cast<std::size_t>(number - 1)] : nullptr;
}

} // namespace

namespace Art {

QString CursorName(int number)
{
    const CursorArt *art = Find(number);
    return art ? QString::fromLatin1(art->name) : QString();
}

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

} // namespace Art
