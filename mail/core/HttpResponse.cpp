// Incremental reading of the status line, the header fields and the body lines.
#include "mail/core/HttpResponse.h"

#include "mail/core/HttpErrors.h"

#include <algorithm>
#include <cctype>

namespace mail {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view text)
{
    return !text.empty()
           && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

THttpResponseParser::THttpResponseParser(std::uint64_t maxBodySize) : maxBodySize_(maxBodySize) {}

bool THttpResponseParser::IsRedirection() const
{
    return HeaderComplete() && StatusCode >= 300 && StatusCode < 400 && !Location.empty();
}

void THttpResponseParser::Feed(std::string_view bytes)
{
    while (!bytes.empty() && !HeaderComplete()) {
        FeedHeaderByte(bytes.front());
        bytes.remove_prefix(1);
    }
    if (state_ == TState::Body)
        FeedBody(bytes);
}

void THttpResponseParser::FeedHeaderByte(char c)
{
    if (c != '\n') {
        // Header lines are bounded so a peer cannot make the client hold an endless line.
        if (line_.size() >= MaxHeaderLineLength)
            throw EHttpProtocolError("Header line too long");
        line_ += c;
        return;
    }
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    const std::string line = std::move(line_);
    line_.clear();
    HeaderLine(line);
}

void THttpResponseParser::HeaderLine(std::string_view line)
{
    if (state_ == TState::StatusLine) {
        StatusLine(line);
        return;
    }
    if (line.empty()) {
        EndOfHeader();
        return;
    }
    if (++headerLines_ > MaxHeaderLines)
        throw EHttpProtocolError("Too many header lines");
    HeaderField(line);
}

void THttpResponseParser::StatusLine(std::string_view line)
{
    // "HTTP/1.x NNN reason": the code is the three characters from the tenth on.
    const auto version = line.substr(0, 8);
    if ((version != "HTTP/1.0" && version != "HTTP/1.1") || line.size() < 12 || line[8] != ' '
        || !AllDigits(line.substr(9, 3)) || (line.size() > 12 && line[12] != ' '))
        throw EHttpProtocolError("Invalid status line");
    StatusCode = std::stoi(std::string(line.substr(9, 3)));
    ReasonPhrase = line.size() > 13 ? std::string(line.substr(13)) : std::string();
    state_ = TState::Headers;
}

void THttpResponseParser::HeaderField(std::string_view line)
{
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0 || line.front() == ' ' || line.front() == '\t')
        throw EHttpProtocolError("Invalid header line");
    std::string name(line.substr(0, colon));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto value = Trimmed(line.substr(colon + 1));
    if (name == "location") {
        Location = value;
    } else if (name == "content-length") {
        if (!AllDigits(value) || value.size() > 18)
            throw EHttpProtocolError("Invalid content length");
        const auto length = std::stoull(std::string(value));
        if (ContentLength && *ContentLength != length)
            throw EHttpProtocolError("Conflicting content lengths");
        if (length > maxBodySize_)
            throw EHttpProtocolError("Response body too large");
        ContentLength = length;
    } else if (name == "transfer-encoding") {
        // A body sent in chunks would reach the list with its chunk sizes as lines.
        std::string coding(value);
        std::transform(coding.begin(), coding.end(), coding.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (coding != "identity")
            throw EHttpProtocolError("Unsupported transfer encoding");
    }
}

void THttpResponseParser::EndOfHeader()
{
    // "100 Continue" and the other interim answers come before the real one; they count
    // against the header line limit so an endless run of them still ends.
    if (StatusCode >= 100 && StatusCode < 200) {
        if (++headerLines_ > MaxHeaderLines)
            throw EHttpProtocolError("Too many header lines");
        StatusCode = 0;
        ReasonPhrase.clear();
        Location.clear();
        ContentLength.reset();
        state_ = TState::StatusLine;
        return;
    }
    state_ = TState::Body;
    const bool noBody = StatusCode == 204 || StatusCode == 304;
    if (noBody || (ContentLength && *ContentLength == 0))
        Completed();
}

void THttpResponseParser::FeedBody(std::string_view bytes)
{
    if (ContentLength)
        bytes = bytes.substr(0, *ContentLength - bodyReceived_);
    if (bytes.size() > maxBodySize_ - bodyReceived_)
        throw EHttpProtocolError("Response body too large");
    bodyReceived_ += bytes.size();
    // Lines end in CR LF, LF or a lone CR, as in any text list.
    for (const char c : bytes) {
        if (c == '\n' && afterCr_) {
            afterCr_ = false;
            continue;
        }
        afterCr_ = c == '\r';
        if (c == '\r' || c == '\n')
            EndLine();
        else
            line_ += c;
    }
    if (ContentLength && bodyReceived_ == *ContentLength)
        Completed();
}

void THttpResponseParser::EndLine()
{
    BodyLines.push_back(std::move(line_));
    line_.clear();
}

void THttpResponseParser::Completed()
{
    if (!line_.empty())
        EndLine();
    state_ = TState::Complete;
}

void THttpResponseParser::Finish()
{
    if (state_ == TState::Complete)
        return;
    if (state_ != TState::Body)
        throw EHttpProtocolError("Connection closed before the response header was complete");
    if (ContentLength)
        throw EHttpProtocolError("Connection closed before the response body was complete");
    Completed();
}

} // namespace mail
