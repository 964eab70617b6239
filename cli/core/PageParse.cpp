#include "cli/core/PageParse.h"

#include "cli/core/HtmlNumbers.h"
#include "cli/core/PageEncoding.h"

#include <malloc.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

template <std::size_t N>
bool OneOf(const std::string &name, const std::array<std::string_view, N> &names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

constexpr std::array<std::string_view, 19> VoidElements{"area", "base", "basefont", "bgsound", "br", "col", "embed",
                                                        "frame", "hr", "image", "img", "input", "keygen", "link",
                                                        "meta", "param", "source", "track", "wbr"};
constexpr std::array<std::string_view, 9> RawTextElements{"iframe", "noembed", "noframes", "plaintext", "script",
                                                           "style", "textarea", "title", "xmp"};
// Start tags that end an open paragraph.
constexpr std::array<std::string_view, 37> ParagraphEnders{
    "address", "article", "aside",   "blockquote", "center", "details", "dialog", "dir", "div",     "dl",
    "fieldset", "figcaption", "figure", "footer", "form",  "h1",      "h2",     "h3",  "h4",      "h5",
    "h6",      "header", "hgroup",  "hr",         "listing", "main", "menu",   "nav", "ol",      "p",
    "pre",     "search", "section", "summary",    "table", "ul",     "xmp"};

// How deep a page nests its elements, estimated from its tags with the common implied end tags
// (paragraphs, list items, table cells and rows, options), without building a tree.
class TNestingEstimate {
public:
    explicit TNestingEstimate(std::string_view text) : Text(text) {}

    // The offset of the tag at which the parser's work passes the limit; npos when it never does.
    std::size_t FindExcess(std::size_t limit)
    {
        for (std::size_t i = Text.find('<'); i != std::string_view::npos; i = Text.find('<', i)) {
            if (Text.substr(i).starts_with("<!--")) {
                const std::size_t end = Text.find("-->", i + 2);
                i = end == std::string_view::npos ? Text.size() : end + 3;
            } else if (i + 1 < Text.size() && (Text[i + 1] == '!' || Text[i + 1] == '?')) {
                i = SkipTo('>', i);
            } else if (i + 2 < Text.size() && Text[i + 1] == '/' && IsLetter(Text[i + 2])) {
                const std::string name = NameAt(i + 2);
                i = TagEnd(i + 2 + name.size(), nullptr);
                EndTag(name);
            } else if (i + 1 < Text.size() && IsLetter(Text[i + 1])) {
                const std::string name = NameAt(i + 1);
                bool selfClosing = false;
                i = TagEnd(i + 1 + name.size(), &selfClosing);
                StartTag(name, selfClosing);
                if (OneOf(name, RawTextElements))
                    i = name == "plaintext" ? Text.size() : RawTextEnd(name, i);
            } else {
                ++i;
            }
            if (Work > limit)
                return i;
        }
        return std::string_view::npos;
    }

    std::size_t Depth() const { return Deepest; }

private:
    std::string NameAt(std::size_t i) const
    {
        std::string name;
        for (; i < Text.size() && Text[i] != '>' && Text[i] != '/' && !IsAsciiSpace(Text[i]); ++i)
            name += Text[i] >= 'A' && Text[i] <= 'Z' ? static_cast<char>(Text[i] - 'A' + 'a') : Text[i];
        return name;
    }

    std::size_t SkipTo(char c, std::size_t from) const
    {
        const std::size_t at = Text.find(c, from);
        return at == std::string_view::npos ? Text.size() : at + 1;
    }

    // Past the tag's ">", over attributes whose quoted values may hold one.
    std::size_t TagEnd(std::size_t i, bool *selfClosing) const
    {
        char previous = 0;
        for (; i < Text.size(); ++i) {
            const char c = Text[i];
            if (c == '>') {
                if (selfClosing)
                    *selfClosing = previous == '/';
                return i + 1;
            }
            if ((c == '"' || c == '\'') && previous == '=') {
                i = SkipTo(c, i + 1) - 1;
                previous = 0;
            } else if (!IsAsciiSpace(c)) {
                previous = c;
            }
        }
        return i;
    }

    std::size_t RawTextEnd(const std::string &name, std::size_t i) const
    {
        for (; (i = Text.find("</", i)) != std::string_view::npos; i += 2)
            if (NameAt(i + 2) == name)
                return i;
        return Text.size();
    }

    bool IsOpen(const std::string &name) const
    {
        const auto it = Open.find(name);
        return it != Open.end() && !it->second.empty();
    }

    void PopTo(const std::string &name)
    {
        const std::size_t depth = Open[name].back();
        while (Stack.size() > depth) {
            Open[Stack.back()].pop_back();
            Stack.pop_back();
        }
    }

    void CloseAny(std::initializer_list<const char *> names)
    {
        std::size_t nearest = 0;
        const char *found = nullptr;
        for (const char *name : names)
            if (IsOpen(name) && Open[name].back() + 1 > nearest) {
                nearest = Open[name].back() + 1;
                found = name;
            }
        if (found)
            PopTo(found);
    }

    void StartTag(const std::string &name, bool selfClosing)
    {
        Work += Stack.size();
        if (name == "html" || name == "head" || name == "body" || OneOf(name, VoidElements))
            return;
        if (OneOf(name, ParagraphEnders) && IsOpen("p"))
            PopTo("p");
        if (name == "li")
            CloseAny({"li"});
        else if (name == "dd" || name == "dt")
            CloseAny({"dd", "dt"});
        else if (name == "option" || name == "optgroup")
            CloseAny({"option"});
        else if (name == "tr")
            CloseAny({"tr"});
        else if (name == "td" || name == "th")
            CloseAny({"td", "th"});
        else if (name == "tbody" || name == "thead" || name == "tfoot")
            CloseAny({"tbody", "thead", "tfoot"});
        else if (name == "a" || name == "button" || name == "nobr")
            CloseAny({name.c_str()});
        // A "/>" ends only elements of SVG and MathML; HTML ignores it.
        if (selfClosing && (IsOpen("svg") || IsOpen("math")))
            return;
        Open[name].push_back(Stack.size());
        Stack.push_back(name);
        Deepest = std::max(Deepest, Stack.size());
    }

    void EndTag(const std::string &name)
    {
        Work += Stack.size();
        if (IsOpen(name))
            PopTo(name);
    }

    std::string_view Text;
    std::vector<std::string> Stack;
    std::unordered_map<std::string, std::vector<std::size_t>> Open; // depths of the open elements by name
    std::size_t Work = 0;
    std::size_t Deepest = 0;
};

} // namespace

// Every block gumbo takes, in one list, so a parse stopped half-way frees all it took.
struct TPageParse::TArena {
    struct alignas(16) TBlock {
        TBlock *Previous;
        TBlock *Next;
    };

    TBlock Blocks{&Blocks, &Blocks};
    std::size_t Live = 0;
    std::jmp_buf Escape{};

    ~TArena()
    {
        for (TBlock *block = Blocks.Next; block != &Blocks;) {
            TBlock *next = block->Next;
            std::free(block);
            block = next;
        }
    }

    static void *Allocate(void *self, std::size_t size)
    {
        auto *arena = static_cast<TArena *>(self);
        auto *block = arena->Live + size + sizeof(TBlock) <= MaxTreeBytes
                          ? static_cast<TBlock *>(std::malloc(sizeof(TBlock) + size))
                          : nullptr;
        if (!block)
            std::longjmp(arena->Escape, 1);
        arena->Live += malloc_usable_size(block);
        block->Previous = &arena->Blocks;
        block->Next = arena->Blocks.Next;
        block->Next->Previous = block;
        arena->Blocks.Next = block;
        return block + 1;
    }

    static void Release(void *self, void *pointer)
    {
        if (!pointer)
            return;
        auto *arena = static_cast<TArena *>(self);
        TBlock *block = static_cast<TBlock *>(pointer) - 1;
        block->Previous->Next = block->Next;
        block->Next->Previous = block->Previous;
        arena->Live -= malloc_usable_size(block);
        std::free(block);
    }
};

namespace {

// Kept apart so that nothing with a destructor lives between setjmp and the parser.
GumboOutput *ParseOrEscape(const GumboOptions &options, std::jmp_buf &escape, std::string_view text)
{
    if (setjmp(escape) != 0)
        return nullptr;
    return gumbo_parse_with_options(&options, text.data(), text.size());
}

} // namespace

TPageParse::TPageParse(std::string_view text) : Arena(std::make_unique<TArena>())
{
    TNestingEstimate nesting(text);
    if (const std::size_t at = nesting.FindExcess(MaxNestingWork); at != std::string_view::npos) {
        ProblemLine = LineAt(text, at);
        Problem = "the page nests its elements too deeply to parse in reasonable time (" + std::to_string(nesting.Depth())
                  + " levels by this line)";
        return;
    }
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &TArena::Allocate;
    options.deallocator = &TArena::Release;
    options.userdata = Arena.get();
    options.max_errors = 0; // the parse errors are not used, and each one copies the open elements
    Output = ParseOrEscape(options, Arena->Escape, text);
    if (!Output) {
        // What the stopped parse took goes with the arena.
        Problem = "the page's element tree needs more than " + std::to_string(MaxTreeBytes >> 20)
                  + " MB; import reads smaller pages";
    }
}

TPageParse::~TPageParse() = default;
