// Splitting an http address, resolving redirections and writing the GET request.
#pragma once

#include <string>
#include <string_view>

namespace mail {

// Where one request goes: host (IPv6 without brackets), port and path with its query.
struct THttpAddress {
    std::string Host;
    std::string Port = "80";
    std::string Path = "/";

    // The host as it appears in a Host header or an address: IPv6 literals in brackets.
    std::string HostText() const;
    bool operator==(const THttpAddress &) const = default;
};

// Splits "http://host[:port][/path]" (the scheme may be left out); throws EHttpProtocolError
// for any other scheme, an empty host, a bad port or control characters and blanks.
THttpAddress SplitHttpAddress(std::string_view address);

// The target of a "location" value seen while fetching base: a path on the same host, a
// relative path, or a full http address. Other schemes throw EHttpProtocolError.
THttpAddress ResolveRedirection(const THttpAddress &base, std::string_view location);

// The request bytes for target. Through a proxy the request line carries the whole address.
// An agent holding a line break or NUL throws EHttpProtocolError, so it cannot add headers.
std::string BuildHttpRequest(const THttpAddress &target, std::string_view agent, bool noCache,
                             bool viaProxy);

} // namespace mail
