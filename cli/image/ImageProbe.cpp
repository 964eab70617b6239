#include "cli/image/ImageProbe.h"

#include "imaging/decoder/ImageDecoder.h"

#include <cstring>

extern "C" int mapolin_map_read_image(const char *path, int *width, int *height, char *reason, int reasonSize)
{
    const imagedecoder::Decoded decoded = imagedecoder::Decode(QString::fromLocal8Bit(path));
    if (decoded.outcome != imagedecoder::Outcome::Read) {
        const QByteArray text = decoded.reason.toLocal8Bit();
        if (reasonSize > 0) {
            const int length = text.size() < reasonSize ? static_cast<int>(text.size()) : reasonSize - 1;
            std::memcpy(reason, text.constData(), static_cast<std::size_t>(length));
            reason[length] = '\0';
        }
        return 0;
    }
    *width = decoded.picture.width();
    *height = decoded.picture.height();
    return 1;
}
