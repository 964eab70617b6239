// Fuzzes the SMTP reply reader with arbitrary bytes fed in arbitrary pieces.
#include "mail/core/SmtpReply.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the piece size, so both whole and byte-wise reading are covered.
    const std::size_t piece = data[0] % 16 + 1;
    std::string_view bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    mail::TSmtpReplyReader reader;
    while (!bytes.empty()) {
        const std::string_view chunk = bytes.substr(0, piece);
        const std::size_t used = reader.Feed(chunk);
        if (used > chunk.size())
            std::abort();
        if (used < chunk.size() && !reader.Complete())
            std::abort();
        bytes.remove_prefix(used);
        if (reader.Complete()) {
            const int code = reader.Code();
            if (code < -1 || code > 999 || reader.LastLine().size() >= mail::TSmtpReplyReader::LineBufferSize)
                std::abort();
            // A reply ends only on a line carrying its own code.
            if (code != mail::SmtpReplyCode(reader.LastLine()))
                std::abort();
            reader.Reset();
        }
    }
    return 0;
}
