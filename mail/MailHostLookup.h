// Finds the mail hosts of an e-mail address: DNS servers of the computer, MX queries, host lines.
#pragma once

#include "mail/HttpCli.h"
#include "mail/MXResolver.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace mail {

class TMailHostLookup {
public:
    // Fetches the DNS list file and returns its lines; may throw.
    using ListFetcher = std::function<std::vector<std::string>(const std::string &url)>;
    using StatusSink = std::function<void(const QString &)>;

    // An empty fetcher fetches with THttpCli.
    explicit TMailHostLookup(TmsMXResolver &resolver, StatusSink setStatus = {},
                             ListFetcher fetchList = {});

    // The configured name servers, or those of the DNS list file when none are configured.
    void GetDnsServerList(QStringList &servers);
    // Host lines "%4d|host" for the domain of the address, best first; never raises. A domain
    // that is no host name gives none without asking any server. At most MaxServersAsked
    // servers are asked.
    void BuildMailHostList(const QString &address, QStringList &hosts);
    // Ends the lookup: the list fetch or query in progress fails at once, no further server is
    // asked, and BuildMailHostList returns no host.
    void Cancel();

    // The resolver configuration: MAPOLIN_RESOLV_CONF when set, else /etc/resolv.conf.
    static QString ResolvConfPath();

    QString DnsListUrl = QStringLiteral("http://www.tembrel.com/dnsip/dnsip.dat");
    int ServerTimeOut = 10;
    // A server that does not answer costs ServerTimeOut: three of them keep the user's wait at
    // half a minute, and three is also the most name servers the platform's resolver reads.
    // The DNS list file may name many more; they are public servers that answer alike.
    static constexpr qsizetype MaxServersAsked = 3;

private:
    void SetStatus(const QString &text) const;
    std::vector<std::string> FetchWithHttpCli(const std::string &url);

    TmsMXResolver &resolver_;
    StatusSink setStatus_;
    ListFetcher fetchList_;
    THttpCli http_;
    bool canceled_ = false;
};

} // namespace mail
