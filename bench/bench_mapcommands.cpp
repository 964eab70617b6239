// Load, compile and save from the main window with maps of 1,000, 10,000 and 100,000 hotspots (a
// third of each kind): the time per hotspot of each command, and how much it grows.
#include "app/ImageMap.h"
#include "app/MapEditor.h"
#include "bench_mapfile_sample.h"
#include "dialogs/MapOptionsForm.h"
#include "support/FakePrompter.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>


namespace {

double Time(const std::function<void()> &run)
{
    const std::int64_t start = bench::ThreadCpuNanos();
    run();
    return double(bench::ThreadCpuNanos() - start) / 1e9;
}

struct Times {
    double load = 0, compile = 0, save = 0;
};

Times Measure(const QTemporaryDir &dir, const QString &image, int hotspots)
{
    TMapFile map = SampleMap(hotspots);
    map.ImageFileName = image.toStdString();
    const QString mapPath = dir.filePath(QStringLiteral("map%1.im").arg(hotspots));
    {
        QFile file(mapPath);
        file.open(QIODevice::WriteOnly);
        const std::string bytes = WriteMapFile(map);
        file.write(bytes.data(), qint64(bytes.size()));
    }
    FakePrompter prompter;
    prompter.modal = [](QWidget &form) {
        if (auto *options = qobject_cast<TfrmMapOptions *>(&form)) {
            options->txtMapName->setText(QStringLiteral("navmap"));
            options->btnOk->click();
        }
    };
    prompter.folder = dir.path();
    auto *window = new TfrmImageMap;
    window->show();
    Times t;
    t.load = Time([&] {
        prompter.files.push_back(mapPath);
        window->Load1Click();
        QApplication::processEvents();
    });
    t.compile = Time([&] { window->btnCompileClick(); });
    t.save = Time([&] {
        prompter.saveFiles.push_back(dir.filePath(QStringLiteral("saved.im")));
        window->Save1Click();
    });
    if (window->Editor().Regions().Count() != hotspots)
        std::fprintf(stderr, "loaded %d of %d hotspots\n", window->Editor().Regions().Count(), hotspots);
    // Tearing down 100,000 widgets is not what is measured; the process ends instead.
    window->hide();
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QImage picture(4600, 4400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString image = dir.filePath(QStringLiteral("big.jpg"));
    QImageWriter(image, "jpeg").write(picture);

    std::printf("per hotspot (microseconds of processor time):\n");
    Times first;
    const bool profile = argc > 1 && QByteArray(argv[1]) == "--profile-load";
    for (int hotspots : {1000, 10000, 100000}) {
        if (profile && hotspots != 100000)
            continue;
        const Times t = Measure(dir, image, hotspots);
        const auto us = [&](double seconds) { return seconds * 1e6 / hotspots; };
        if (hotspots == 1000)
            first = t;
        std::printf("  %6d hotspots: load %6.2f  compile %6.2f  save %6.2f\n", hotspots, us(t.load), us(t.compile),
                    us(t.save));
        if (hotspots == 100000)
            std::printf("growth from 1,000 to 100,000 (target <= 1.5): load %.2f, compile %.2f, save %.2f\n",
                        us(t.load) / (first.load * 1e6 / 1000), us(t.compile) / (first.compile * 1e6 / 1000),
                        us(t.save) / (first.save * 1e6 / 1000));
    }
    std::fflush(stdout);
    std::_Exit(0);
}
