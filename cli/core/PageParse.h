// A page parsed by gumbo within bounds on time and memory, so a hostile page is refused with a
// clear reason instead of taking minutes or gigabytes.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TPageParse {
public:
    // The tree's memory, beside the page itself.
    static constexpr std::size_t MaxTreeBytes = std::size_t(512) << 20;
    // The parser's own work for nesting: for each tag, roughly the depth of elements open at it.
    // Ordinary pages stay far below it; 100,000 nested elements need 5 billion.
    static constexpr std::size_t MaxNestingWork = std::size_t(1) << 27;

    explicit TPageParse(std::string_view text);
    ~TPageParse();
    TPageParse(const TPageParse &) = delete;
    TPageParse &operator=(const TPageParse &) = delete;

    // The document node; null when the page was refused.
    const GumboNode *Root() const { return Output ? Output->root : nullptr; }
    // Why the page was refused, with the line (0: the page as a whole).
    const std::string &Error() const { return Problem; }
    int ErrorLine() const { return ProblemLine; }

private:
    struct TArena;
    std::unique_ptr<TArena> Arena;
    GumboOutput *Output = nullptr;
    std::string Problem;
    int ProblemLine = 0;
};
