// Finds the mail hosts of an e-mail address: DNS servers of the computer, MX queries, host lines.
#pragma once

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
    // that is no host name gives none without asking any server.
    void BuildMailHostList(const QString &address, QStringList &hosts);

    // The resolver configuration: MAPOLIN_RESOLV_CONF when set, else /etc/resolv.conf.
    static QString ResolvConfPath();

    QString DnsListUrl = QStringLiteral("http://www.tembrel.com/dnsip/dnsip.dat");
    int ServerTimeOut = 10;

private:
    void SetStatus(const QString &text) const;

    TmsMXResolver &resolver_;
    StatusSink setStatus_;
    ListFetcher fetchList_;
};

} // namespace mail
