#include "output/core/Paths.h"

#include "output/core/ReplaceAll.h"

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

std::string JoinPath(std::string_view directory, std::string_view name)
{
    if (directory.empty())
        return std::string(name);
    const char separator = directory.find('\\') != std::string_view::npos ? '\\' : '/';
    if (IsSeparator(directory.back()))
        directory.remove_suffix(1);
    if (!name.empty() && IsSeparator(name.front()))
        name.remove_prefix(1);
    std::string path(directory);
    path += separator;
    path += name;
    return path;
}

std::string MakeRelativePath(std::string_view baseFile, std::string_view targetFile)
{
    if (baseFile.empty())
        return std::string(targetFile);
    if (targetFile.empty())
        return {};
    std::string base(baseFile);
    const std::size_t nameStart = base.find_last_of("\\:");
    if (nameStart != std::string::npos && nameStart + 1 == base.size())
        base = JoinPath(base, "dummy.dum");
    const bool slashes = base.find('/') != std::string::npos;
    const char separator = slashes ? '/' : '\\';
    const char *other = slashes ? "\\" : "/";
    base = ReplaceAll(base, other, std::string_view(&separator, 1), false);
    std::string target = ReplaceAll(targetFile, other, std::string_view(&separator, 1), false);
    if (base.size() < 2 || target.size() < 2 || LowerAscii(base[0]) != LowerAscii(target[0])
        || LowerAscii(base[1]) != LowerAscii(target[1]))
        return std::string(targetFile);
    // Drop each leading folder the two share; a shared folder ends at an equal separator.
    std::size_t i = 0;
    while (i < base.size() && i < target.size() && LowerAscii(base[i]) == LowerAscii(target[i])) {
        if (base[i] == separator) {
            base.erase(0, i + 1);
            target.erase(0, i + 1);
            i = 0;
        } else {
            ++i;
        }
    }
    std::string climb;
    for (char c : base)
        if (c == separator)
            climb += std::string("..") + separator;
    return climb + target;
}

std::string ImageSrc(std::string_view workDir, std::string_view imageFileName)
{
    const std::string src = workDir.empty() ? std::string(imageFileName)
                                            : MakeRelativePath(JoinPath(workDir, "a.a"), imageFileName);
    return ReplaceAll(src, "\\", "/", true);
}
