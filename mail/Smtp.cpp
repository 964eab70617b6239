#include "mail/Smtp.h"

#include "mail/SocketErrorCodes.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MessageEncoder.h"
#include "mail/core/SmtpDialogue.h"

#include <QCoreApplication>
#include <QHostInfo>

#include <arpa/inet.h>
#include <netdb.h>

#include <optional>

namespace mail {

namespace {

bool winsockLoaded = true;
// Message text goes out in pieces of this size, each with its own wait.
constexpr qsizetype TextPiece = 2047;
// Bytes Qt may buffer from the server; beyond it the reader has to catch up first.
constexpr qint64 ReadBufferLimit = 64 * 1024;

std::optional<int> SmtpServicePort()
{
    servent entry{};
    servent *found = nullptr;
    char buffer[1024];
    if (getservbyname_r("smtp", "tcp", &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return std::nullopt;
    return ntohs(static_cast<uint16_t>(found->s_port));
}

} // namespace

TmsSMTP::TmsSMTP(QObject *parent) : QObject(parent)
{
    socket_.setReadBufferSize(ReadBufferLimit);
    connect(&socket_, &QAbstractSocket::errorOccurred, this, [this] { failed_ = true; });
    connect(&socket_, &QAbstractSocket::disconnected, this, [this] { failed_ = true; });
}

TmsSMTP::~TmsSMTP() = default;

bool TmsSMTP::WinsockLoaded()
{
    return winsockLoaded;
}

void TmsSMTP::SetWinsockLoaded(bool loaded)
{
    winsockLoaded = loaded;
}

void TmsSMTP::Send()
{
    try {
        Transfer();
    } catch (...) {
        // The next Send, usually to another host, must start from a fresh connection.
        Close();
        throw;
    }
}

void TmsSMTP::Cancel()
{
    wait_.Cancel();
    lookup_.Abort();
    socket_.abort();
}

void TmsSMTP::Transfer()
{
    if (Server.isEmpty())
        throw ESocketError(SocketCode::ServerRequired);
    wait_.ClearFlags();
    lastReply_.clear();
    if (!winsockLoaded)
        throw ESocketError(SocketCode::WinsockNotLoaded);
    // Refused before a byte is sent: a line break here would smuggle commands or headers.
    if (MailMessage)
        TmsMessageEncoder::CheckSafe(*MailMessage);

    const TServerAddress server = SplitServer(Server.toStdString());
    QString localHost = QHostInfo::localHostName();
    if (localHost.isEmpty())
        localHost = QString::fromStdString(server.Host);
    const QHostAddress address = lookup_.Resolve(QString::fromStdString(server.Host), wait_, TimeOut);
    Connect(address, ChoosePort(server, SmtpServicePort, DefaultPort));

    TSmtpDialogue dialogue(MailMessage, localHost.toStdString(), OnAddressRejected);
    ReadReply();
    for (TSmtpAction action = dialogue.OnReply(reader_.Code(), lastReply_);;) {
        switch (action.What) {
        case TSmtpAction::Kind::SendLine:
            SendLine(action.Line);
            break;
        case TSmtpAction::Kind::SendText:
            SendText(dialogue.MessageText());
            SendLine("");
            SendLine(".");
            break;
        case TSmtpAction::Kind::MailSent:
            if (OnMailSent)
                OnMailSent();
            QCoreApplication::processEvents();
            SendLine(action.Line);
            break;
        case TSmtpAction::Kind::Close:
            Close();
            return;
        }
        ReadReply();
        action = dialogue.OnReply(reader_.Code(), lastReply_);
    }
}

void TmsSMTP::Connect(const QHostAddress &address, int port)
{
    socket_.abort();
    failed_ = false;
    reader_.Reset();
    socket_.connectToHost(address, quint16(port));
    WaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; });
    // Commands, text pieces and the final "." go out as separate small writes; without this,
    // Nagle's algorithm holds each until the server's delayed acknowledgement.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void TmsSMTP::WaitFor(const std::function<bool()> &done)
{
    wait_.Wait([this, &done] { return done() || failed_; }, TimeOut);
    // Cancel closes the socket, which may look like the awaited event; the flag decides.
    if (wait_.Canceled())
        throw ECanceledError();
    if (!done())
        throw SocketErrorFromQt(socket_);
}

void TmsSMTP::Write(const QByteArray &bytes)
{
    // A Cancel between two waits (from the OnMailSent handler) has closed the socket already.
    if (wait_.Canceled())
        throw ECanceledError();
    if (socket_.state() != QAbstractSocket::ConnectedState)
        throw ESocketError(SocketCode::NotConnected);
    if (socket_.write(bytes) != bytes.size())
        throw SocketErrorFromQt(socket_);
    WaitFor([this] { return socket_.bytesToWrite() == 0; });
}

void TmsSMTP::SendLine(const std::string &line)
{
    QByteArray bytes(line.data(), qsizetype(line.size()));
    bytes += "\r\n";
    Write(bytes);
}

void TmsSMTP::SendText(const std::string &text)
{
    for (std::size_t offset = 0; offset < text.size(); offset += TextPiece) {
        const std::size_t size = std::min<std::size_t>(TextPiece, text.size() - offset);
        Write(QByteArray(text.data() + offset, qsizetype(size)));
    }
}

void TmsSMTP::ReadReply()
{
    reader_.Reset();
    // One wait for the whole reply: a server that drips an endless line still times out.
    WaitFor([this] {
        while (!reader_.Complete() && socket_.bytesAvailable() > 0) {
            const QByteArray chunk = socket_.peek(4096);
            socket_.skip(qint64(reader_.Feed(std::string_view(chunk.constData(), std::size_t(chunk.size())))));
        }
        return reader_.Complete();
    });
    lastReply_ = reader_.LastLine();
}

void TmsSMTP::Close()
{
    socket_.abort();
}

} // namespace mail
