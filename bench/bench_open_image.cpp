// Opening a 24-megapixel JPEG, PNG and WebP through the whole New command against a bare
// QImageReader::read of the same file.
#include "app/ImageMap.h"
#include "app/ImageView.h"
#include "dialogs/AddDefaultHotspotForm.h"
#include "support/FakePrompter.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <sys/resource.h>

namespace {

QString g_path; // the file the New command opens

struct Target {
    const char *format;
    double ratio; // the New command's time over the bare read's at most
};
constexpr Target kTargets[] = {{"jpeg", 1.3}, {"png", 1.2}, {"webp", 1.2}};

// Answers every prompt at once: the image file for New, No for the save question, OK for the
// default-URL dialog.
class BenchPrompter : public FakePrompter {
public:
    BenchPrompter()
    {
        answers.assign(1000000, QMessageBox::No);
        modal = [](QWidget &form) {
            if (auto *dialog = qobject_cast<TfrmDefaultHotSpot *>(&form))
                dialog->btnOk->click();
        };
    }
    QString OpenFile(QWidget *, const OpenFileRequest &) override { return g_path; }
};

void BM_BareRead(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_NewCommand(benchmark::State &state, const QString &path)
{
    g_path = path;
    BenchPrompter prompter;
    TfrmImageMap window;
    for (auto _ : state) {
        window.btnNewClick();
        benchmark::DoNotOptimize(window.Image1->Picture().constBits());
    }
}

// Collects the mean processor times (of this thread: other work on a shared machine does not count)
// so the ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// Writes the test pictures; run in a child process so its own peak memory does not hide ours.
int WriteTestImages(const QDir &dir)
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 6000, 4000);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 4000; i += 7)
        painter.fillRect(QRect((i * 37) % 6000, i, 300, 5), QColor::fromHsv(i % 360, 200, 220));
    painter.end();
    for (const Target &target : kTargets)
        if (!QImageWriter(dir.filePath(QStringLiteral("big.") + target.format), target.format).write(image))
            return 1;
    return 0;
}

void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtWarningMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--write")
        return WriteTestImages(QDir(QString::fromLocal8Bit(argv[2])));
    QTemporaryDir dir;
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--write"), dir.path()}) != 0) {
        std::fprintf(stderr, "could not write the test images\n");
        return 1;
    }
    g_path = dir.filePath("big.jpeg");

    // Peak memory: the New command may hold one decoded copy, as the bare read does.
    BenchPrompter prompter;
    {
        TfrmImageMap warmUp; // loads plugins and fonts before anything is measured
    }
    const long before = PeakRssKb();
    {
        QImageReader reader(g_path);
        const QImage image = reader.read();
    }
    const long afterRead = PeakRssKb();
    {
        TfrmImageMap window;
        window.btnNewClick();
        const long afterNew = PeakRssKb();
        std::printf("decoded image %.1f MiB; peak growth: bare read %.1f MiB, New command %.1f MiB beyond that\n",
                    6000.0 * 4000 * 4 / 1048576, (afterRead - before) / 1024.0, (afterNew - afterRead) / 1024.0);
    }

    for (const Target &target : kTargets) {
        const QString path = dir.filePath(QStringLiteral("big.") + target.format);
        benchmark::RegisterBenchmark((std::string("BareRead/") + target.format).c_str(), BM_BareRead, path)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3.0);
        benchmark::RegisterBenchmark((std::string("NewCommand/") + target.format).c_str(), BM_NewCommand, path)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3.0);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Target &target : kTargets) {
        const double bare = reporter.times[std::string("BareRead/") + target.format + "/min_time:3.000"];
        const double full = reporter.times[std::string("NewCommand/") + target.format + "/min_time:3.000"];
        if (bare > 0)
            std::printf("%s: bare read %.1f ms, New command %.1f ms, ratio %.3f (target <= %.1f)\n", target.format, bare,
                        full, full / bare, target.ratio);
    }
    return 0;
}
