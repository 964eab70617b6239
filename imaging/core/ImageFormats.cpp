#include "imaging/core/ImageFormats.h"

#include <algorithm>
#include <array>

namespace imageformats {

namespace {

struct Entry {
    streamcheck::Format format;
    std::string_view name;
    std::string_view shown;                     // the extension as the first filter's name shows it
    std::string_view filterName;
    std::array<std::string_view, 2> extensions; // lower case; an unused slot is empty
};

// The classic GIF and JPEG entries come first and keep their names.
constexpr std::array<Entry, 5> kEntries{{
    {streamcheck::Format::Gif, "gif", "GIF", "Gif Files (*.GIF)", {"gif", ""}},
    {streamcheck::Format::Jpeg, "jpeg", "JPG", "JPEG Files (*.JPG)", {"jpg", "jpeg"}},
    {streamcheck::Format::Png, "png", "PNG", "PNG Files (*.PNG)", {"png", ""}},
    {streamcheck::Format::WebP, "webp", "WEBP", "WebP Files (*.WEBP)", {"webp", ""}},
    {streamcheck::Format::Bmp, "bmp", "BMP", "Bitmap Files (*.BMP)", {"bmp", ""}},
}};

std::string Patterns(const Entry &entry)
{
    std::string patterns;
    for (const std::string_view extension : entry.extensions)
        if (!extension.empty())
            patterns.append(patterns.empty() ? "*." : ";*.").append(extension);
    return patterns;
}

} // namespace

std::string_view NameOf(streamcheck::Format format)
{
    for (const Entry &entry : kEntries)
        if (entry.format == format)
            return entry.name;
    return {};
}

streamcheck::Format ForExtension(std::string_view extension)
{
    if (extension.empty())
        return streamcheck::Format::Unknown;
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    for (const Entry &entry : kEntries)
        if (std::find(entry.extensions.begin(), entry.extensions.end(), lower) != entry.extensions.end())
            return entry.format;
    return streamcheck::Format::Unknown;
}

std::string OpenFilter()
{
    std::string shown;
    std::string all;
    std::string each;
    for (const Entry &entry : kEntries) {
        shown.append(shown.empty() ? "*." : ", *.").append(entry.shown);
        all.append(all.empty() ? "" : ";").append(Patterns(entry));
        each.append("|").append(entry.filterName).append("|").append(Patterns(entry));
    }
    return "Image Files (" + shown + ")|" + all + each;
}

} // namespace imageformats
