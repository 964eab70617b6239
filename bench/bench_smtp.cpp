// Message writing against Python's quopri, and a whole Send against Python's smtplib.
#include "tests/mail/AiosmtpdPeer.h"

#include "mail/Smtp.h"
#include "mail/core/MessageEncoder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace mail;

namespace {

std::unique_ptr<TAiosmtpdPeer> peer;

// About 1 MiB of HTML in lines of varying length, with the "=" signs and the odd 8-bit byte
// of real pages.
const mail::TmsMessage &HtmlMessage()
{
    static const TmsMessage message = [] {
        TmsMessage m;
        m.Sender = TmsMailAddress("Ann", "ann@example.test");
        m.Recipients.Add("", "bob@example.test");
        m.SetSubject("Benchmark");
        m.SetContentType("text/html");
        const std::vector<std::string> pieces = {
            "<P>Image maps are a useful way of graphically expressing information. ",
            "<A HREF=\"http://www.example.test/download/index.html\" TARGET=\"_blank\">Click here</A> ",
            "<TD ALIGN=\"center\" WIDTH=\"50%\">Caf\xe9 cr\xe8me</TD> ",
            "short line ",
        };
        std::size_t size = 0;
        for (unsigned i = 0; size < (1u << 20); ++i) {
            std::string line;
            for (unsigned j = 0; j < 1 + i % 4; ++j)
                line += pieces[(i + j) % pieces.size()];
            size += line.size() + 2;
            m.Body.push_back(std::move(line));
        }
        return m;
    }();
    return message;
}

const TmsMessage &SmallMessage()
{
    static const TmsMessage message = [] {
        TmsMessage m;
        m.Sender = TmsMailAddress("Ann", "ann@example.test");
        m.Recipients.Add("", "bob@example.test");
        m.SetSubject("the Mapolin Toolkin is available for you.");
        m.Body = {"Hello Bob, ", "Ann wanted to let you know about the Mapolin Toolkin.", "",
                  "What is the Mapolin Toolkin?", "", "A tool for image maps.", ""};
        return m;
    }();
    return message;
}

void SendOnce(TmsSMTP &smtp)
{
    smtp.Send();
}

void BM_WriteHtmlMessage1MiB(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TmsMessageEncoder::Write(HtmlMessage()));
}
BENCHMARK(BM_WriteHtmlMessage1MiB)->Unit(benchmark::kMillisecond);

void BM_SendSmallMessage(benchmark::State &state)
{
    if (!peer) {
        state.SkipWithError("aiosmtpd did not start");
        return;
    }
    TmsSMTP smtp;
    smtp.Server = peer->Server();
    smtp.TimeOut = 10;
    smtp.MailMessage = &SmallMessage();
    for (auto _ : state)
        SendOnce(smtp);
}
// A fixed count: every send leaves a file in the peer's maildir.
BENCHMARK(BM_SendSmallMessage)->Unit(benchmark::kMillisecond)->Iterations(100);

template <typename F>
double BestSeconds(F work, int rounds)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

double Median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

// Runs a Python snippet that prints times in seconds separated by spaces; empty when it fails.
std::vector<double> PythonSeconds(const QString &script, const QStringList &args)
{
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start("/usr/bin/python3", QStringList{"-c", script} + args);
    if (!python.waitForFinished(300000) || python.exitCode() != 0)
        return {};
    std::vector<double> times;
    for (const QByteArray &word : python.readAllStandardOutput().simplified().split(' ')) {
        bool ok = false;
        times.push_back(word.toDouble(&ok));
        if (!ok)
            return {};
    }
    return times;
}

bool WriteTemp(QTemporaryFile &file, const std::string &bytes)
{
    if (!file.open())
        return false;
    file.write(bytes.data(), qint64(bytes.size()));
    file.flush();
    return true;
}

void CompareQuotedPrintable()
{
    std::string joined;
    for (const std::string &line : HtmlMessage().Body)
        joined += line + "\r\n";
    QTemporaryFile file;
    if (!WriteTemp(file, joined))
        return;
    const double own = BestSeconds([] { benchmark::DoNotOptimize(TmsMessageEncoder::Write(HtmlMessage())); }, 20);
    const std::vector<double> pythonTimes = PythonSeconds(
        "import quopri, sys, timeit\n"
        "data = open(sys.argv[1], 'rb').read()\n"
        "print(min(timeit.repeat(lambda: quopri.encodestring(data), number=1, repeat=20)))\n",
        {file.fileName()});
    if (pythonTimes.empty()) {
        std::printf("quopri: the Python run failed\n");
        return;
    }
    const double python = pythonTimes.front();
    std::printf("HTML message of %zu body bytes: TmsMessageEncoder::Write %.2f ms, quopri.encodestring %.2f ms, "
                "ratio %.2f (target <= 1)\n",
                joined.size(), own * 1e3, python * 1e3, own / python);
}

void CompareSend()
{
    if (!peer)
        return;
    QTemporaryFile file;
    if (!WriteTemp(file, TmsMessageEncoder::Write(SmallMessage())))
        return;
    TmsSMTP smtp;
    smtp.Server = peer->Server();
    smtp.TimeOut = 10;
    smtp.MailMessage = &SmallMessage();
    // Batches of both sides take turns, so a busy neighbour on the machine hurts both alike.
    constexpr int Batches = 5;
    constexpr int Rounds = 10;
    std::vector<double> ownTimes;
    std::vector<double> pythonTimes;
    for (int batch = 0; batch < Batches; ++batch) {
        for (int i = 0; i < Rounds; ++i) {
            const auto start = std::chrono::steady_clock::now();
            SendOnce(smtp);
            ownTimes.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        // The file holds the text with dots already doubled; smtplib doubles them itself, so the
        // message has none that start a line.
        const std::vector<double> times = PythonSeconds(
            "import smtplib, sys, timeit\n"
            "data = open(sys.argv[1], 'rb').read()\n"
            "def send():\n"
            "    s = smtplib.SMTP('127.0.0.1', int(sys.argv[2]))\n"
            "    s.sendmail('ann@example.test', ['bob@example.test'], data)\n"
            "    s.quit()\n"
            "print(*timeit.repeat(send, number=1, repeat=int(sys.argv[3])))\n",
            {file.fileName(), QString::number(peer->Port()), QString::number(Rounds)});
        if (times.empty()) {
            std::printf("smtplib: the Python run failed\n");
            return;
        }
        pythonTimes.insert(pythonTimes.end(), times.begin(), times.end());
    }
    const double own = Median(ownTimes);
    const double python = Median(pythonTimes);
    std::printf("Small message to aiosmtpd (median of %d): TmsSMTP::Send %.2f ms, smtplib %.2f ms, "
                "ratio %.2f (target <= 1)\n",
                Batches * Rounds, own * 1e3, python * 1e3, own / python);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    peer = std::make_unique<TAiosmtpdPeer>();
    if (!peer->Start()) {
        std::printf("aiosmtpd did not start; the send comparison is skipped\n");
        peer.reset();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CompareQuotedPrintable();
    CompareSend();
    peer.reset();
    return 0;
}
