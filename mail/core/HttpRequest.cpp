// Address handling and request writing of the HTTP client.
#include "mail/core/HttpRequest.h"

#include "mail/core/HttpErrors.h"

#include <algorithm>
#include <cctype>

namespace mail {

namespace {

bool IsBlankOrControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7f;
}

void CheckPrintable(std::string_view text, std::string_view what)
{
    if (std::any_of(text.begin(), text.end(), IsBlankOrControl))
        throw EHttpProtocolError("Invalid character in " + std::string(what));
}

std::string Lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The scheme of an absolute reference ("http" of "http://..."), or empty for a relative one.
std::string_view SchemeOf(std::string_view reference)
{
    const auto colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0
        || !std::isalpha(static_cast<unsigned char>(reference[0])))
        return {};
    const auto scheme = reference.substr(0, colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
    return valid ? scheme : std::string_view{};
}

// A path to send: the fragment is the client's business, an empty path is the root.
std::string RequestPath(std::string_view pathAndQuery)
{
    pathAndQuery = pathAndQuery.substr(0, pathAndQuery.find('#'));
    if (pathAndQuery.empty())
        return "/";
    if (pathAndQuery.front() != '/')
        return "/" + std::string(pathAndQuery);
    return std::string(pathAndQuery);
}

std::string CheckedPort(std::string_view port)
{
    if (port.empty())
        return "80";
    if (port.size() > 5 || !std::all_of(port.begin(), port.end(),
                                        [](unsigned char c) { return std::isdigit(c); }))
        throw EHttpProtocolError("Invalid port in address");
    const int value = std::stoi(std::string(port));
    if (value < 1 || value > 65535)
        throw EHttpProtocolError("Invalid port in address");
    return std::to_string(value);
}

} // namespace

std::string THttpAddress::HostText() const
{
    return Host.find(':') != std::string::npos ? "[" + Host + "]" : Host;
}

THttpAddress SplitHttpAddress(std::string_view address)
{
    CheckPrintable(address, "address");
    // Without "://" a leading "name:" is a host and port, so the scheme may be left out.
    if (const auto scheme = SchemeOf(address);
        !scheme.empty() && address.substr(scheme.size()).starts_with("://")) {
        if (Lower(scheme) != "http")
            throw EHttpProtocolError("Only http addresses can be fetched");
        address.remove_prefix(scheme.size() + 3);
    }
    const auto pathStart = std::min(address.find_first_of("/?#"), address.size());
    auto authority = address.substr(0, pathStart);
    // Credentials in the address are never sent, so they are dropped here.
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);

    THttpAddress result;
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            throw EHttpProtocolError("Invalid host in address");
        result.Host = authority.substr(1, close - 1);
        const auto rest = authority.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            throw EHttpProtocolError("Invalid host in address");
        port = rest.empty() ? rest : rest.substr(1);
    } else {
        const auto colon = authority.find(':');
        if (colon != std::string_view::npos && authority.find(':', colon + 1) != std::string_view::npos)
            throw EHttpProtocolError("Invalid host in address");
        result.Host = authority.substr(0, colon);
        if (colon != std::string_view::npos)
            port = authority.substr(colon + 1);
    }
    if (result.Host.empty())
        throw EHttpProtocolError("No host in address");
    result.Port = CheckedPort(port);
    result.Path = RequestPath(address.substr(pathStart));
    return result;
}

THttpAddress ResolveRedirection(const THttpAddress &base, std::string_view location)
{
    CheckPrintable(location, "redirection");
    if (location.empty())
        throw EHttpProtocolError("Empty redirection");
    if (location.starts_with("//"))
        return SplitHttpAddress("http:" + std::string(location));
    if (const auto scheme = SchemeOf(location); !scheme.empty()) {
        if (Lower(scheme) != "http" || !location.substr(scheme.size()).starts_with("://"))
            throw EHttpProtocolError("Redirection to a non-http address refused");
        return SplitHttpAddress(location);
    }
    THttpAddress result = base;
    if (location.front() == '/') {
        result.Path = RequestPath(location);
        return result;
    }
    const std::string_view basePath(base.Path);
    const auto baseWithoutQuery = basePath.substr(0, basePath.find('?'));
    if (location.front() == '?') {
        result.Path = RequestPath(std::string(baseWithoutQuery) + std::string(location));
        return result;
    }
    const auto folder = baseWithoutQuery.substr(0, baseWithoutQuery.rfind('/') + 1);
    result.Path = RequestPath(std::string(folder) + std::string(location));
    return result;
}

std::string BuildHttpRequest(const THttpAddress &target, std::string_view agent, bool noCache,
                             bool viaProxy)
{
    if (agent.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        throw EHttpProtocolError("Invalid character in agent");
    CheckPrintable(target.Path, "path");
    std::string requestTarget = target.Path;
    if (viaProxy) {
        const std::string port = target.Port == "80" ? std::string() : ":" + target.Port;
        requestTarget = "http://" + target.HostText() + port + target.Path;
    }
    std::string request = "GET " + requestTarget + " HTTP/1.0\r\n";
    if (!agent.empty())
        request += "User-Agent: " + std::string(agent) + "\r\n";
    if (noCache)
        request += "Pragma: no-cache\r\n";
    request += "Host: " + target.HostText() + "\r\n\r\n";
    return request;
}

} // namespace mail
