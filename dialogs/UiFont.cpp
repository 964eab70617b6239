#include "dialogs/UiFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace ui {

namespace {
// The designed boxes were laid out for an 8 point face on a 96 dots-per-inch screen whose
// letters are about as wide as Arial's at 10 pixels.
constexpr int kPixelSize = 10;

// Asking the font database costs a tenth of a millisecond, more than opening a small window.
const QString &Family()
{
    static const QString found = [] {
        for (const char *family : {"Liberation Sans", "Arial", "Nimbus Sans"})
            if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
                return QString::fromLatin1(family);
        return QString();
    }();
    return found;
}

} // namespace

QFont Font()
{
    QFont font = QApplication::font();
    if (!Family().isEmpty())
        font.setFamily(Family());
    font.setPixelSize(kPixelSize);
    font.setBold(false);
    return font;
}

QFont BoldFont()
{
    QFont font = Font();
    font.setBold(true);
    return font;
}

} // namespace ui
