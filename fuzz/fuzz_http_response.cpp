// Feeds arbitrary bytes to the HTTP response reader, whole and in chunks, and checks its limits.
#include "mail/core/HttpErrors.h"
#include "mail/core/HttpRequest.h"
#include "mail/core/HttpResponse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::uint64_t kMaxBody = 4096;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads the input once in one piece and once in pieces whose sizes come from the first byte;
// both readings must agree.
void ReadResponse(std::string_view input)
{
    mail::THttpResponseParser whole(kMaxBody);
    bool wholeFailed = false;
    try {
        whole.Feed(input);
        whole.Finish();
    } catch (const mail::EHttpProtocolError &) {
        wholeFailed = true;
    }

    mail::THttpResponseParser pieces(kMaxBody);
    bool piecesFailed = false;
    const std::size_t step = input.empty() ? 1 : 1 + static_cast<unsigned char>(input[0]) % 7;
    try {
        for (std::size_t at = 0; at < input.size(); at += step)
            pieces.Feed(input.substr(at, step));
        pieces.Finish();
    } catch (const mail::EHttpProtocolError &) {
        piecesFailed = true;
    }

    Check(wholeFailed == piecesFailed);
    if (wholeFailed)
        return;
    Check(whole.Complete() && pieces.Complete());
    Check(whole.StatusCode == pieces.StatusCode && whole.StatusCode >= 0 && whole.StatusCode <= 999);
    Check(whole.ReasonPhrase == pieces.ReasonPhrase && whole.Location == pieces.Location);
    Check(whole.BodyLines == pieces.BodyLines);
    std::size_t bodyBytes = 0;
    for (const auto &line : whole.BodyLines)
        bodyBytes += line.size();
    Check(bodyBytes <= kMaxBody);

    if (whole.IsRedirection()) {
        try {
            const auto next = mail::ResolveRedirection({"h", "80", "/a/b"}, whole.Location);
            Check(!next.Host.empty() && !next.Path.empty() && next.Path.front() == '/');
            mail::BuildHttpRequest(next, "agent", false, false);
        } catch (const mail::EHttpProtocolError &) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ReadResponse(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
