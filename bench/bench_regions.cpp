// Pointer moves while dragging a selected region, "REPAINT" and "MISS", with 1 and with 2,000
// regions of all three kinds over a 4000 x 3000 image: per-event times, their ratios, how much of
// the image is repainted; and a 98-vertex polygon's hit test against a plain winding loop.
#include "app/ImageMap.h"
#include "app/ImageView.h"
#include "app/MapEditor.h"
#include "regions/ChannelField.h"
#include "regions/CircleRegionClass.h"
#include "regions/PolyRegionClass.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"
#include "support/FakePrompter.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>


namespace {


// Adds up the area the image is asked to repaint.
class PaintMeter : public QObject {
public:
    qint64 pixels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += qint64(r.width()) * r.height();
        return false;
    }
};

// A star of n vertices (20 to 98) inside a 60 x 50 box, with its closing copy.
std::vector<CoordPoint> Star(int n)
{
    std::vector<CoordPoint> points;
    for (int i = 0; i < n; ++i) {
        const double angle = 6.283185307179586 * i / n;
        const double reach = i % 2 ? 0.55 : 1.0;
        points.push_back({int(std::lround(30 + 29 * reach * std::cos(angle))),
                          int(std::lround(25 + 24 * reach * std::sin(angle)))});
    }
    points.push_back(points.front());
    return points;
}

// A main window with a 4000 x 3000 image and `count` drawn regions laid out in a grid: a third
// each of rectangles, circles and polygons, in that order of the grid.
struct Scene {
    explicit Scene(int count)
    {
        QImage picture(4000, 3000, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        window.Image1->SetImageSize(picture.size());
        window.Image1->SetPicture(picture);
        window.Image1->show();
        window.Editor().CreateLists();
        window.EnableButtons();
        window.show();
        const int columns = 50;
        for (int i = 0; i < count; ++i) {
            const int kind = count == 1 ? 0 : i % 3;
            TMapRegion record;
            record.Shape.Left = 10 + (i % columns) * 78;
            record.Shape.Top = 10 + (i / columns) * 70;
            record.Shape.Width = kind == 1 ? 51 : kind == 2 ? 61 : 60;
            record.Shape.Height = kind == 1 ? 51 : 50;
            if (kind == 1) {
                record.Shape.Radius = 25;
                record.Shape.Centre = {25, 25};
            } else if (kind == 2) {
                record.Shape.Points = Star(20 + (i * 7) % 79);
                record.Shape.PointCount = int(record.Shape.Points.size()) - 1;
            }
            window.Editor().AddLoaded(static_cast<THotspotKind>(kind), record);
        }
        QApplication::processEvents();
    }

    TfrmImageMap window;
};

void Send(QWidget *target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Mean time of one pointer move while dragging the first rectangle, painting included.
double DragMoveMicros(Scene &scene, int moves)
{
    auto *r = static_cast<TRectRegion *>(scene.window.Editor().Regions().Rects().first());
    const QPoint grip(30, 25);
    Send(r, QEvent::MouseMove, grip, Qt::NoButton);
    Send(r, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QApplication::processEvents();
    bench::CpuTimer timer;
    timer.start();
    for (int i = 0; i < moves; ++i) {
        // The region moves under the pointer, so the grabbed point stays the same local point.
        Send(r, QEvent::MouseMove, grip + QPoint(i % 2 ? -1 : 1, i % 2 ? -1 : 1), Qt::LeftButton);
        QApplication::processEvents();
    }
    const double micros = timer.nsecsElapsed() / 1000.0 / moves;
    Send(r, QEvent::MouseButtonRelease, grip, Qt::NoButton);
    return micros;
}

// Mean time of one "MISS" at a point where no region lies: every region of all three lists is
// visited, reset and, where on screen, repainted.
double MissMicros(Scene &scene, int rounds)
{
    bench::CpuTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        scene.window.txtXPos->SetInt(3990);
        scene.window.txtYPos->SetInt(2990);
        scene.window.txtInfo->SetText(QString());
        scene.window.txtInfo->SetText(QStringLiteral("MISS"));
        QApplication::processEvents();
    }
    return timer.nsecsElapsed() / 1000.0 / rounds;
}

// The textbook crossing-number loop over the same vertices, as the yardstick of the hit test.
bool PlainInside(const polygeom::Points &points, int n, double x, double y)
{
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const auto &a = points[std::size_t(i)];
        const auto &b = points[std::size_t(j)];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / double(b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

double NanosPerPoint(const std::function<bool(int, int)> &test)
{
    bench::CpuTimer timer;
    timer.start();
    int hits = 0;
    for (int round = 0; round < 20; ++round)
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 61; ++x)
                hits += test(x, y);
    const double nanos = double(timer.nsecsElapsed()) / (20.0 * 51 * 61);
    return hits ? nanos : nanos; // hits keeps the loop from being optimised away
}

// Mean time of one "REPAINT" and the image pixels it repainted.
std::pair<double, qint64> RepaintMicros(Scene &scene, int rounds)
{
    PaintMeter meter;
    scene.window.Image1->installEventFilter(&meter);
    bench::CpuTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        scene.window.txtInfo->SetText(QString());
        scene.window.txtInfo->SetText(QStringLiteral("REPAINT"));
        QApplication::processEvents();
    }
    const double micros = timer.nsecsElapsed() / 1000.0 / rounds;
    scene.window.Image1->removeEventFilter(&meter);
    return {micros, meter.pixels / rounds};
}

double Best(const std::function<double()> &run, int tries = 5)
{
    double best = 1e300;
    for (int i = 0; i < tries; ++i)
        best = std::min(best, run());
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakePrompter prompter; // answers the splash of each window at once

    Scene one(1);
    Scene many(2000);
    if (argc > 1 && QByteArray(argv[1]) == "--profile-drag") {
        DragMoveMicros(argc > 2 ? one : many, 400);
        return 0;
    }
    // Interleaved, so a busy moment of the machine hurts both sides alike.
    double dragOne = 1e300, dragMany = 1e300;
    for (int round = 0; round < 7; ++round) {
        dragOne = std::min(dragOne, DragMoveMicros(one, 400));
        dragMany = std::min(dragMany, DragMoveMicros(many, 400));
    }
    std::printf("drag move: 1 region %.1f us, 2000 regions of three kinds %.1f us, ratio %.2f (target <= 1.5)\n",
                dragOne, dragMany, dragMany / dragOne);

    std::printf("REPAINT:\n");
    double firstPerRegion = 0;
    for (int count : {250, 500, 1000, 2000}) {
        Scene scene(count);
        qint64 pixels = 0;
        const double micros = Best([&] {
            auto [t, p] = RepaintMicros(scene, 5);
            pixels = p;
            return t;
        });
        const double perRegion = micros / count;
        if (!firstPerRegion)
            firstPerRegion = perRegion;
        std::printf("  %4d regions: %9.1f us, %.2f us per region (x%.2f of 250), image pixels repainted %lld "
                    "(%.1f%% of the image, regions cover %lld)\n",
                    count, micros, perRegion, perRegion / firstPerRegion, static_cast<long long>(pixels),
                    100.0 * pixels / (4000.0 * 3000.0), static_cast<long long>(count) * 60 * 50);
    }

    std::printf("MISS over all three lists:\n");
    double firstMiss = 0;
    for (int count : {250, 500, 1000, 2000}) {
        Scene scene(count);
        const double perRegion = Best([&] { return MissMicros(scene, 5); }) / count;
        if (!firstMiss)
            firstMiss = perRegion;
        std::printf("  %4d regions: %.2f us per region (x%.2f of 250)\n", count, perRegion, perRegion / firstMiss);
    }

    TPolyRegion star(nullptr);
    const std::vector<CoordPoint> vertices = Star(98);
    std::copy(vertices.begin(), vertices.end(), star.Points.begin());
    star.PointCount = 98;
    volatile bool sink = false;
    const double ours = Best([&] { return NanosPerPoint([&](int x, int y) { sink = star.HitTest(x, y); return sink; }); });
    const double plain = Best([&] {
        return NanosPerPoint([&](int x, int y) { sink = PlainInside(star.Points, 98, x + 0.5, y + 0.5); return sink; });
    });
    std::printf("98-vertex polygon hit test: %.1f ns, plain crossing loop %.1f ns, ratio %.2f (target <= 3)\n", ours,
                plain, ours / plain);
    return 0;
}
