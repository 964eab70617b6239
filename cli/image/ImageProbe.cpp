#include "cli/image/ImageProbe.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstring>

extern "C" int mapolin_map_read_image(const char *path, int *width, int *height, char *reason, int reasonSize)
{
    QImageReader reader(QString::fromLocal8Bit(path));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        const QByteArray text = reader.errorString().toLocal8Bit();
        if (reasonSize > 0) {
            const int length = text.size() < reasonSize ? static_cast<int>(text.size()) : reasonSize - 1;
            std::memcpy(reason, text.constData(), static_cast<std::size_t>(length));
            reason[length] = '\0';
        }
        return 0;
    }
    *width = picture.width();
    *height = picture.height();
    return 1;
}
