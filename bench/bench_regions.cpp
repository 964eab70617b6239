// Pointer moves while dragging a selected rectangle, and "REPAINT", with 1 and with 2,000 regions
// over a 4000 x 3000 image: per-event times, their ratio, and how much of the image is repainted.
#include "app/ImageMap.h"
#include "app/ImageView.h"
#include "regions/ChannelField.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <cstdio>
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

// A main window with a 4000 x 3000 image and `count` drawn rectangles laid out in a grid.
struct Scene {
    explicit Scene(int count)
    {
        QImage picture(4000, 3000, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        window.Image1->resize(picture.size());
        window.Image1->SetPicture(picture);
        window.Image1->show();
        window.Regions.Create();
        window.EnableButtons();
        window.show();
        const int columns = 50;
        for (int i = 0; i < count; ++i) {
            auto *r = new TRectRegion(window.ScrollBox1->Client());
            r->txtXPos = window.txtXPos;
            r->txtYPos = window.txtYPos;
            r->txtInfo = window.txtInfo;
            r->txtTarget = window.txtTarget;
            r->cmbURL = window.cmbURL;
            r->ImageWidth = 4000;
            r->ImageHeight = 3000;
            r->Drawn = true;
            r->setGeometry(10 + (i % columns) * 78, 10 + (i / columns) * 70, 60, 50);
            r->show();
            window.Regions.Rects().append(r);
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
    auto *r = static_cast<TRectRegion *>(scene.window.Regions.Rects().first());
    const QPoint grip(30, 25);
    Send(r, QEvent::MouseMove, grip, Qt::NoButton);
    Send(r, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QApplication::processEvents();
    QElapsedTimer timer;
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

// Mean time of one "REPAINT" and the image pixels it repainted.
std::pair<double, qint64> RepaintMicros(Scene &scene, int rounds)
{
    PaintMeter meter;
    scene.window.Image1->installEventFilter(&meter);
    QElapsedTimer timer;
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

    Scene one(1);
    Scene many(2000);
    const double dragOne = Best([&] { return DragMoveMicros(one, 400); });
    const double dragMany = Best([&] { return DragMoveMicros(many, 400); });
    std::printf("drag move: 1 region %.1f us, 2000 regions %.1f us, ratio %.2f (target <= 2)\n", dragOne, dragMany,
                dragMany / dragOne);

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
    return 0;
}
