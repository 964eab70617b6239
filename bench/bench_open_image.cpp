// Opening a 24-megapixel JPEG through the whole New command against a bare QImageReader::read.
#include "app/ImageMap.h"
#include "app/ImageView.h"
#include "dialogs/AddDefaultHotspotForm.h"
#include "support/FakePrompter.h"

#include <QApplication>
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

QString g_path;

// Answers the New command's prompts: no question, the benchmark's file, OK in the default dialog.
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

void BM_BareRead(benchmark::State &state)
{
    for (auto _ : state) {
        QImageReader reader(g_path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_NewCommand(benchmark::State &state)
{
    BenchPrompter prompter;
    TfrmImageMap window;
    for (auto _ : state) {
        window.btnNewClick();
        benchmark::DoNotOptimize(window.Image1->Picture().constBits());
    }
}

BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_NewCommand)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Collects the mean times so the ratio can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
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

// Writes the test JPEG; run in a child process so its own peak memory does not hide ours.
int WriteTestImage(const QString &path)
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
    return QImageWriter(path, "jpeg").write(image) ? 0 : 1;
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
        return WriteTestImage(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    g_path = dir.filePath("big.jpg");
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--write"), g_path}) != 0) {
        std::fprintf(stderr, "could not write the test image\n");
        return 1;
    }

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

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double bare = reporter.times["BM_BareRead/min_time:3.000"];
    const double full = reporter.times["BM_NewCommand/min_time:3.000"];
    if (bare > 0)
        std::printf("bare read %.1f ms, New command %.1f ms, ratio %.3f (target <= 1.3)\n", bare, full, full / bare);
    return 0;
}
