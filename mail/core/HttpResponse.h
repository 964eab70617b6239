// Reads an HTTP response fed in chunks of any size: status line, headers, then body lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

class THttpResponseParser {
public:
    static constexpr std::size_t MaxHeaderLineLength = 8192;
    static constexpr std::size_t MaxHeaderLines = 100;

    enum class TState { StatusLine, Headers, Body, Complete };

    explicit THttpResponseParser(std::uint64_t maxBodySize = 1024 * 1024);

    // Takes the next bytes; bytes after a complete response are ignored. A malformed or
    // oversized response throws EHttpProtocolError, after which the parser must be dropped.
    void Feed(std::string_view bytes);
    // The peer closed the connection: ends a body read to the close and keeps its last line.
    // Throws EHttpProtocolError when the headers or the announced body are cut short.
    void Finish();

    TState State() const { return state_; }
    bool HeaderComplete() const { return state_ == TState::Body || state_ == TState::Complete; }
    bool Complete() const { return state_ == TState::Complete; }
    // A 3xx status with a location: the client asks there once the header is complete.
    bool IsRedirection() const;

    int StatusCode = 0;
    std::string ReasonPhrase;
    std::string Location;
    std::optional<std::uint64_t> ContentLength;
    std::vector<std::string> BodyLines;

private:
    void FeedHeaderByte(char c);
    void HeaderLine(std::string_view line);
    void StatusLine(std::string_view line);
    void HeaderField(std::string_view line);
    void EndOfHeader();
    void FeedBody(std::string_view bytes);
    void EndLine();
    void Completed();

    TState state_ = TState::StatusLine;
    std::uint64_t maxBodySize_;
    std::uint64_t bodyReceived_ = 0;
    std::size_t headerLines_ = 0;
    std::string line_;
    bool afterCr_ = false;
};

} // namespace mail
