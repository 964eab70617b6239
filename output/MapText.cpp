#include "output/MapText.h"

#include "output/core/Utf8.h"

QString MapText(std::string_view bytes)
{
    const auto size = static_cast<qsizetype>(bytes.size());
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes.data(), size) : QString::fromLatin1(bytes.data(), size);
}

std::string MapBytes(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}
