// Quoted-printable: control characters, "=" and 8-bit bytes become =XX; a trailing space is
// encoded too so that transports that strip trailing blanks cannot change the text.
#include "mail/core/QuotedPrintable.h"

#include "mail/core/MailErrors.h"

#include <algorithm>
#include <array>

namespace mail {

namespace {

// Output lines stay within 76 characters including the soft-break "=".
constexpr std::size_t MaxEncodedWidth = 75;

constexpr std::array<bool, 256> MakeEscapeTable()
{
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = c < 32 || c == '=' || c >= 128;
    return table;
}

constexpr std::array<bool, 256> NeedsEscape = MakeEscapeTable();
constexpr char HexDigits[] = "0123456789ABCDEF";

} // namespace

void AppendQuotedPrintableLine(std::string_view line, std::string &out, bool stuffDots)
{
    if (line.size() > MaxQuotedPrintableLine)
        throw EMessageError("Paragraph is too large");

    const std::size_t n = line.size();
    // Worst case: every byte escaped, a soft break after every 25 bytes, one stuffed dot each.
    const std::size_t start = out.size();
    out.resize(start + n * 3 + (n / 25 + 1) * 4 + 2);
    char *p = out.data() + start;
    std::size_t i = 0;
    do {
        if (stuffDots && i < n && line[i] == '.')
            *p++ = '.';
        const std::size_t pieceEnd = std::min(n, i + QuotedPrintablePiece);
        std::size_t width = 0;
        while (i < pieceEnd) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool escape = NeedsEscape[c] || (c == ' ' && i + 1 == n);
            if (!escape) {
                if (width + 1 > MaxEncodedWidth)
                    break;
                *p++ = char(c);
                ++width;
            } else {
                if (width + 3 > MaxEncodedWidth)
                    break;
                *p++ = '=';
                *p++ = HexDigits[c >> 4];
                *p++ = HexDigits[c & 15];
                width += 3;
            }
            ++i;
        }
        if (i < n)
            *p++ = '=';
        *p++ = '\r';
        *p++ = '\n';
    } while (i < n);
    out.resize(std::size_t(p - out.data()));
}

} // namespace mail
