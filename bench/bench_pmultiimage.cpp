// TPMultiImage reading a 24-megapixel JPEG against a bare QImageReader::read of the same file.
#include "imaging/PMultiImage.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

// 6000 x 4000 pixels of smooth colour with some edges, written once per run.
const QString &JpegPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb(x * 255 / 6000, y * 255 / 4000, ((x / 50 + y / 50) % 2) * 200);
        }
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        QImageWriter writer(file, "jpeg");
        writer.setQuality(90);
        if (!writer.write(image))
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file), qPrintable(writer.errorString()));
        return file;
    }();
    return path;
}

QImage BareRead()
{
    QImageReader reader(JpegPath(), "jpeg");
    return reader.read();
}

QImage ReaderRead()
{
    TPMultiImage reader;
    reader.SetImageName(JpegPath());
    QImage picture = reader.Picture();
    reader.SetImageName(QString());
    return picture;
}

void BM_BareQImageReader(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(BareRead());
}
BENCHMARK(BM_BareQImageReader)->Unit(benchmark::kMillisecond);

void BM_TPMultiImage(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReaderRead());
}
BENCHMARK(BM_TPMultiImage)->Unit(benchmark::kMillisecond);

template <typename F>
double BestOfMs(F run, int rounds)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        const QImage image = run();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (image.size() != QSize(6000, 4000))
            std::fprintf(stderr, "decoded %dx%d\n", image.width(), image.height());
        best = std::min(best, ms);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double bare = BestOfMs(BareRead, 5);
    const double ours = BestOfMs(ReaderRead, 5);
    std::printf("24 MP JPEG, best of 5: QImageReader %.1f ms, TPMultiImage %.1f ms, ratio %.3f\n", bare, ours,
                ours / bare);
    benchmark::Shutdown();
    return 0;
}
