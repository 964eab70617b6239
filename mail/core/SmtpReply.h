// Reads SMTP replies from the bytes a server sends, one line buffer at a time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mail {

// The code of a reply line: its first three characters as a number, or -1.
int SmtpReplyCode(std::string_view line);

// Collects one reply, single- or multi-line, from bytes fed in any pieces.
class TSmtpReplyReader {
public:
    // A line is read up to and including its line feed into a buffer of this size; the rest of
    // a longer line is dropped, so a server cannot make the reader grow.
    static constexpr std::size_t LineBufferSize = 1025;

    // Consumes bytes up to the end of the reply and returns how many it took; bytes after a
    // complete reply are left to the caller.
    std::size_t Feed(std::string_view bytes);
    bool Complete() const { return complete_; }
    // The reply's code and its last line, trailing CR and LF removed.
    int Code() const { return code_; }
    const std::string &LastLine() const { return lastLine_; }
    // Starts over for the next reply.
    void Reset();

private:
    void EndLine();

    std::string line_;
    bool multiLine_ = false;
    bool firstLine_ = true;
    bool complete_ = false;
    int code_ = -1;
    std::string lastLine_;
};

} // namespace mail
