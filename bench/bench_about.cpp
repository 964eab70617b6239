// Opening the About window until its first paint against a plain QDialog of the same size.
// Offscreen a window costs next to nothing to create, so the art's copy and each child widget weigh
// far more than on a real display; run under Xvfb with QT_QPA_PLATFORM=xcb to time real windows.
#include "dialogs/fAbout.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPixmapCache>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

// Notes the first paint of any widget of one window: where children cover it whole, the window
// itself gets none.
class TPaintSpy : public QObject {
public:
    explicit TPaintSpy(const QWidget &window) : window_(window) {}
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            painted = painted || static_cast<QWidget *>(watched)->window() == &window_;
        return false;
    }

private:
    const QWidget &window_;
};

// Shows the window and returns once its first paint, children included, is done: the widgets of
// a window are painted in one pass, which has ended when processEvents() returns.
void ShowUntilPainted(QDialog &dialog)
{
    TPaintSpy spy(dialog);
    qApp->installEventFilter(&spy);
    dialog.show();
    while (!spy.painted)
        QCoreApplication::processEvents();
    qApp->removeEventFilter(&spy);
}

template <typename Make>
void OpenUntilPainted(benchmark::State &state, Make make)
{
    for (auto _ : state) {
        std::unique_ptr<QDialog> dialog = make();
        ShowUntilPainted(*dialog);
        state.PauseTiming();
        dialog.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_PlainDialog(benchmark::State &state)
{
    OpenUntilPainted(state, [] {
        auto dialog = std::make_unique<QDialog>();
        dialog->setFixedSize(471, 285);
        return dialog;
    });
}

void BM_AboutWindow(benchmark::State &state)
{
    OpenUntilPainted(state, [] { return std::make_unique<TfrmAbout>(); });
}

// Each is run several times and the best CPU time taken: other work on the machine only slows,
// and the wall time of a busy machine says more about its other work than about ours.
BENCHMARK(BM_PlainDialog)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(6);
BENCHMARK(BM_AboutWindow)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(6);

// Collects the best time of each benchmark so the ratio can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            double &best = times[run.run_name.function_name];
            best = best > 0 ? std::min(best, run.GetAdjustedCPUTime()) : run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtWarningMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    // Offscreen unless a platform is named: under Xvfb (QT_QPA_PLATFORM=xcb) real windows are timed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    {
        QDialog warmUp; // loads the platform plugin and fonts before anything is measured
        ShowUntilPainted(warmUp);
    }
    // The first About window of a run also draws the artwork, which later ones find cached.
    QPixmapCache::clear();
    QElapsedTimer cold;
    cold.start();
    {
        TfrmAbout first;
        ShowUntilPainted(first);
    }
    const double coldMs = static_cast<double>(cold.nsecsElapsed()) / 1e6;

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.times["BM_PlainDialog"];
    const double about = reporter.times["BM_AboutWindow"];
    std::printf("first About window of a run (artwork drawn) %.2f ms\n", coldMs);
    if (plain > 0)
        std::printf("%s: CPU time to first paint, best of 6: plain QDialog %.0f us, About window %.0f us, ratio %.2f "
                    "(target <= 2)\n",
                    qPrintable(QGuiApplication::platformName()), plain, about, about / plain);
    return 0;
}
