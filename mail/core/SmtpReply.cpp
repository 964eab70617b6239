// Reply lines end at a line feed; a first line with "-" after the code opens a multi-line reply
// that ends at a line with the same code followed by a space (or by nothing).
#include "mail/core/SmtpReply.h"

namespace mail {

int SmtpReplyCode(std::string_view line)
{
    if (line.size() < 3)
        return -1;
    int code = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

std::size_t TSmtpReplyReader::Feed(std::string_view bytes)
{
    std::size_t used = 0;
    while (!complete_ && used < bytes.size()) {
        const char c = bytes[used++];
        if (c == '\n') {
            EndLine();
            continue;
        }
        // One byte of the buffer stays for the line feed.
        if (line_.size() + 1 < LineBufferSize)
            line_ += c;
    }
    return used;
}

void TSmtpReplyReader::EndLine()
{
    while (!line_.empty() && (line_.back() == '\r' || line_.back() == '\n'))
        line_.pop_back();
    const int code = SmtpReplyCode(line_);
    if (firstLine_) {
        firstLine_ = false;
        code_ = code;
        multiLine_ = line_.size() > 3 && line_[3] == '-';
        complete_ = !multiLine_;
    } else if (code == code_ && (line_.size() == 3 || line_[3] == ' ')) {
        complete_ = true;
    }
    lastLine_ = line_;
    line_.clear();
}

void TSmtpReplyReader::Reset()
{
    line_.clear();
    multiLine_ = false;
    firstLine_ = true;
    complete_ = false;
    code_ = -1;
    lastLine_.clear();
}

} // namespace mail
