#include "mail/MailHostLookup.h"

#include "mail/core/MailHostList.h"

#include <QFile>

namespace mail {

namespace {

// A resolver configuration is a few lines; anything longer is not read further.
constexpr qint64 MaxResolvConfBytes = 64 * 1024;

std::vector<std::string> ReadResolvConf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ParseResolvConf(file.read(MaxResolvConfBytes).toStdString());
}

} // namespace

TMailHostLookup::TMailHostLookup(TmsMXResolver &resolver, StatusSink setStatus,
                                 ListFetcher fetchList)
    : resolver_(resolver), setStatus_(std::move(setStatus)),
      fetchList_(fetchList ? std::move(fetchList)
                           : ListFetcher([this](const std::string &url) { return FetchWithHttpCli(url); }))
{
}

std::vector<std::string> TMailHostLookup::FetchWithHttpCli(const std::string &url)
{
    http_.URL = QString::fromStdString(url);
    http_.Agent = QStringLiteral("Tembrel Software Email-A-Friend");
    http_.RcvdBody.clear();
    http_.Get();
    std::vector<std::string> lines;
    for (const QString &line : std::as_const(http_.RcvdBody))
        lines.push_back(line.toStdString());
    return lines;
}

void TMailHostLookup::Cancel()
{
    canceled_ = true;
    http_.Cancel();
    resolver_.Cancel();
}

QString TMailHostLookup::ResolvConfPath()
{
    const QString path = qEnvironmentVariable("MAPOLIN_RESOLV_CONF");
    return path.isEmpty() ? QStringLiteral("/etc/resolv.conf") : path;
}

void TMailHostLookup::GetDnsServerList(QStringList &servers)
{
    servers.clear();
    resolver_.DNSAddress.clear();
    std::vector<std::string> found;
    AppendThroughText(found, ReadResolvConf(ResolvConfPath()));
    if (found.empty()) {
        try {
            const std::vector<std::string> lines = fetchList_(DnsListUrl.toStdString());
            if (!lines.empty())
                AppendThroughText(found, ServersFromListFile(lines));
        } catch (const std::exception &) {
            // No list file: the caller reports that no DNS server can be found.
        }
    }
    for (const std::string &server : found)
        servers.append(QString::fromStdString(server));
}

void TMailHostLookup::BuildMailHostList(const QString &address, QStringList &hosts)
{
    const std::string domainText = MailDomainOf(address.toStdString());
    // Nothing to ask about: an empty or malformed domain gives no host, with no query sent.
    if (!IsMailDomain(domainText))
        return;
    const QString domain = QString::fromStdString(domainText);
    QStringList servers;
    GetDnsServerList(servers);
    servers = servers.mid(0, MaxServersAsked);
    resolver_.TimeOut = ServerTimeOut;
    resolver_.MXList.clear();
    for (qsizetype i = 0; i < servers.size() && !canceled_; ++i) {
        SetStatus(QStringLiteral("%1/%2 %3").arg(i + 1).arg(servers.size()).arg(servers[i]));
        resolver_.DNSAddress = servers[i];
        resolver_.Domain = domain;
        try {
            resolver_.Resolve();
        } catch (const std::exception &) {
            // Every server failure is ignored; records read before the fault still count.
        }
        // A cancelled query has read no record, so the loop's test ends the lookup empty.
        if (!resolver_.MXList.empty()) {
            SetStatus(QStringLiteral("DNS OK!"));
            break;
        }
    }
    for (const std::string &line : BuildHostLines(resolver_.MXList))
        hosts.append(QString::fromStdString(line));
}

void TMailHostLookup::SetStatus(const QString &text) const
{
    if (setStatus_)
        setStatus_(text);
}

} // namespace mail
