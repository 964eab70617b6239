// The MX answer parser against c-ares's ares_parse_mx_reply on the same answers.
#include "mail/core/DnsMessage.h"

#include <ares.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace mail;

namespace {

std::vector<std::uint8_t> FromHex(const char *hex)
{
    std::vector<std::uint8_t> bytes;
    for (const char *p = hex; p[0] && p[1]; p += 2)
        bytes.push_back(std::uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    return bytes;
}

// dnsmasq's answer for example.test: mail2.example.test at 20, mail1.example.test at 5.
const std::vector<std::uint8_t> &DnsmasqAnswer()
{
    static const std::vector<std::uint8_t> bytes = FromHex(
        "123485800001000200000000076578616d706c65047465737400000f0001c00c000f00010000000000160014"
        "056d61696c32076578616d706c65047465737400c00c000f00010000000000160005056d61696c3107657861"
        "6d706c65047465737400");
    return bytes;
}

void PutWord(std::vector<std::uint8_t> &out, unsigned value)
{
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

// A full 512-byte answer: many MX records whose exchanges point back at the question name.
const std::vector<std::uint8_t> &LargeAnswer()
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out = {0x12, 0x34, 0x81, 0x80, 0, 1, 0, 0, 0, 0, 0, 0};
        const std::vector<std::uint8_t> name = EncodeDnsName("example.test");
        out.insert(out.end(), name.begin(), name.end());
        PutWord(out, DnsTypeMX);
        PutWord(out, DnsClassIN);
        unsigned count = 0;
        while (out.size() < 512) {
            // Records of 21 bytes; the last one takes a longer label to end at 512 exactly.
            const std::size_t room = 512 - out.size();
            const std::size_t label = room >= 2 * 21 ? 4 : room - 17;
            const std::string host = "mx" + std::string(label - 2, char('a' + count % 26));
            PutWord(out, 0xC00C);
            PutWord(out, DnsTypeMX);
            PutWord(out, DnsClassIN);
            PutWord(out, 0);
            PutWord(out, 3600);
            PutWord(out, unsigned(2 + 1 + host.size() + 2));
            PutWord(out, 10 * (count % 7));
            out.push_back(std::uint8_t(host.size()));
            out.insert(out.end(), host.begin(), host.end());
            PutWord(out, 0xC00C);
            ++count;
        }
        out[7] = std::uint8_t(count);
        return out;
    }();
    return bytes;
}

std::size_t ParseOwn(const std::vector<std::uint8_t> &answer)
{
    TMXList list;
    ParseMxAnswer(answer.data(), answer.size(), list);
    return list.size();
}

std::size_t ParseCares(const std::vector<std::uint8_t> &answer)
{
    ares_mx_reply *replies = nullptr;
    if (ares_parse_mx_reply(answer.data(), int(answer.size()), &replies) != ARES_SUCCESS)
        return 0;
    std::size_t count = 0;
    for (const ares_mx_reply *r = replies; r; r = r->next)
        ++count;
    ares_free_data(replies);
    return count;
}

void BM_ParseMxAnswer(benchmark::State &state, const std::vector<std::uint8_t> &(*answer)())
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseOwn(answer()));
}

void BM_AresParseMxReply(benchmark::State &state, const std::vector<std::uint8_t> &(*answer)())
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseCares(answer()));
}

BENCHMARK_CAPTURE(BM_ParseMxAnswer, dnsmasq98, DnsmasqAnswer);
BENCHMARK_CAPTURE(BM_AresParseMxReply, dnsmasq98, DnsmasqAnswer);
BENCHMARK_CAPTURE(BM_ParseMxAnswer, large512, LargeAnswer);
BENCHMARK_CAPTURE(BM_AresParseMxReply, large512, LargeAnswer);

// Nanoseconds per parse over a batch.
template <typename F>
double BatchNs(F parse, const std::vector<std::uint8_t> &answer)
{
    constexpr int Batch = 20000;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (int i = 0; i < Batch; ++i)
        benchmark::DoNotOptimize(parse(answer));
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / Batch;
}

void PrintRatio(const char *name, const std::vector<std::uint8_t> &answer)
{
    if (ParseOwn(answer) != ParseCares(answer)) {
        std::printf("%s: the parsers disagree on the record count\n", name);
        return;
    }
    // Best of interleaved batches, so a busy neighbour on the machine hurts both sides alike.
    double own = 1e300;
    double cares = 1e300;
    for (int i = 0; i < 25; ++i) {
        own = std::min(own, BatchNs(ParseOwn, answer));
        cares = std::min(cares, BatchNs(ParseCares, answer));
    }
    std::printf("%s (%zu bytes, %zu records): ParseMxAnswer %.0f ns, ares_parse_mx_reply %.0f ns, "
                "ratio %.2f (target <= 1)\n",
                name, answer.size(), ParseOwn(answer), own, cares, own / cares);
}

} // namespace

int main(int argc, char **argv)
{
    ares_library_init(ARES_LIB_INIT_ALL);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatio("dnsmasq answer", DnsmasqAnswer());
    PrintRatio("large answer", LargeAnswer());
    ares_library_cleanup();
    return 0;
}
