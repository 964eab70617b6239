// Editing beyond drawing: undo and redo through a long random session, the keys of the image
// area, the hotspot list, zoom, and the map checker in the window.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"
#include "../cli/RunTool.h"

#include "app/CheckMapWindow.h"
#include "app/HotspotList.h"
#include "app/ImageView.h"
#include "app/MapDocument.h"
#include "app/ZoomControl.h"
#include "app/core/CoordsText.h"
#include "dialogs/AddHotspotForm.h"
#include "regions/BaseRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <random>

namespace {

class EditingTest : public ImageWindowTest {
protected:
    void SetUp() override
    {
        modal.other = [](QWidget &form) {
            if (auto *dialog = qobject_cast<TfrmHotSpot *>(&form)) {
                dialog->cmbURL->setEditText(QStringLiteral("h.html"));
                dialog->btnOk->click();
            }
        };
        ShowWithImage(QStringLiteral("map.png"), "png");
    }
    std::string Coords(int position) { return CoordsText(Editor().Map().RefAt(position).Kind, Editor().Model().At(Editor().Map().RefAt(position)).Shape); }
};

// The model agrees with the regions on screen and the list with the model.
void ExpectAgreement(TfrmImageMap &window, QTableView *list, int step)
{
    TMapEditor &editor = window.Editor();
    const TMapModel &map = editor.Model();
    ASSERT_EQ(map.Count(), editor.Regions().Count()) << "step " << step;
    for (int i = 0; i < map.Count(); ++i) {
        const THotspotRef ref = map.RefAt(i);
        EXPECT_EQ(editor.Regions().At(ref)->Shape(editor.ImageOrigin()), map.At(ref).Shape) << "step " << step;
        EXPECT_EQ(list->model()->index(i, THotspotTable::Coords).data().toString().toStdString(),
                  CoordsText(ref.Kind, map.At(ref).Shape))
            << "step " << step << " row " << i;
    }
    EXPECT_EQ(list->model()->rowCount(), map.Count()) << "step " << step;
}

// The screen shows what a fresh paint of the image area shows: no outline left behind or missing.
void ExpectFreshScreen(TfrmImageMap &window, int step)
{
    QWidget *area = window.ScrollBox1->viewport();
    const QPoint at = area->mapTo(&window, QPoint());
    const QImage shown =
        window.screen()->grabWindow(window.winId(), at.x(), at.y(), area->width(), area->height()).toImage();
    window.Image1->SetZoomPercent(window.Image1->ZoomPercent()); // drops what the image keeps
    const QImage fresh = area->grab().toImage();
    EXPECT_EQ(shown.convertToFormat(fresh.format()), fresh) << "step " << step;
}

TEST_F(EditingTest, ARandomSessionUndoesAndRedoesEveryStepExactly)
{
    std::mt19937 random(qEnvironmentVariableIsSet("SEED") ? qEnvironmentVariableIntValue("SEED") : 1207);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    window.Hotspots1->trigger();
    auto *list = window.findChild<TfrmHotspots *>()->grdHotspots;
    EXPECT_TRUE(window.screen()->availableGeometry().contains(list->window()->frameGeometry())) << "beside, on screen";
    // The map after each step; an undo goes back one, a redo forward again.
    std::vector<TMapFile> done{Editor().Model().ToMapFile()};
    std::vector<TMapFile> undone;
    const auto point = [&] { return QPoint(5 + pick(290), 5 + pick(190)); };
    for (int step = 0; step < 600; ++step) {
        switch (pick(11)) {
        case 0: DrawRect(point(), point()); break;
        case 1: Drag(point(), point()); break; // selects and moves, or misses
        case 2: QTest::mouseClick(Client(), Qt::LeftButton, {}, point()); break;
        case 3: Key(Qt::Key_Right, pick(2) ? Qt::ShiftModifier : Qt::NoModifier); break;
        case 4: Key(Qt::Key_Tab); break;
        case 5: Key(pick(4) ? Qt::Key_D : Qt::Key_Delete, pick(4) ? Qt::ControlModifier : Qt::NoModifier); break;
        case 6:
            if (list->model()->rowCount())
                list->model()->setData(list->model()->index(pick(list->model()->rowCount()), THotspotTable::Coords),
                                       QStringLiteral("%1, %2, %3, %4").arg(pick(100)).arg(pick(100)).arg(100 + pick(200)).arg(100 + pick(100)));
            break;
        case 7:
        case 8: {
            window.Undo1->trigger();
            QApplication::processEvents();
            if (done.size() > 1) {
                undone.push_back(done.back());
                done.pop_back();
            }
            EXPECT_EQ(Editor().Model().ToMapFile(), done.back()) << "undo at step " << step;
            break;
        }
        case 9:
            window.Redo1->trigger();
            QApplication::processEvents();
            if (!undone.empty()) {
                done.push_back(undone.back());
                undone.pop_back();
            }
            EXPECT_EQ(Editor().Model().ToMapFile(), done.back()) << "redo at step " << step;
            break;
        default: QTest::mouseMove(Client(), point()); break;
        }
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const TMapFile now = Editor().Model().ToMapFile();
        if (!(now == done.back())) {
            done.push_back(now);
            undone.clear();
        }
        ExpectAgreement(window, list, step);
        ExpectFreshScreen(window, step);
        if (HasFailure())
            return;
    }
    EXPECT_GT(done.size(), 20u) << "the session changed the map";
    // A thousand undos in a row leave the map empty and sound; a save behind them is undone too.
    window.Editor().SetSavedFlag(true);
    for (int i = 0; i < 1000; ++i)
        window.Undo1->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Editor().Model().ToMapFile(), done.front());
    EXPECT_FALSE(Editor().SavedFlag());
    ExpectAgreement(window, list, 1000);
}

TEST_F(EditingTest, KeysMoveDeleteDuplicateAndStepWithinTheImage)
{
    DrawRect({5, 10}, {44, 29});     // 5, 10, 45, 30
    DrawRect({250, 150}, {289, 189}); // 250, 150, 290, 190
    QTest::mouseClick(Client(), Qt::LeftButton, {}, {20, 20});
    Key(Qt::Key_Left, Qt::ShiftModifier); // 10 to the left would leave the image: refused
    Key(Qt::Key_Left);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Coords(0), "4, 20, 44, 40");
    EXPECT_EQ(window.Undo1->text(), "&Undo Move");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Editor().Selection().Ref, (THotspotRef{THotspotKind::Rect, 1}));
    Key(Qt::Key_D, Qt::ControlModifier); // only 9 pixels are left to the right and below
    EXPECT_EQ(Coords(2), "259, 159, 299, 199");
    Key(Qt::Key_Backtab);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Editor().Map().Count(), 2);
    window.Undo1->trigger();
    EXPECT_EQ(Editor().Map().Count(), 3);
    EXPECT_EQ(Editor().Selection().Ref, (THotspotRef{THotspotKind::Rect, 1})) << "the deleted hotspot is back, selected";

    // Undo waits while a drawing is in progress.
    QTest::mouseClick(window.btnCircle, Qt::LeftButton);
    QTest::mousePress(Client(), Qt::LeftButton, {}, {100, 100});
    window.Undo1->trigger();
    EXPECT_EQ(Editor().Map().Count(), 3);
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, {110, 100});
}

TEST_F(EditingTest, ADragGivesTheSameImagePixelsAtEveryZoom)
{
    for (const int percent : {100, 400, 25}) {
        window.Zoom().ZoomTo(percent, {});
        EXPECT_EQ(window.UserResizable(), percent != 100) << "the designed size until zoom is used";
        window.ScrollBox1->ScrollToOrigin();
        const auto at = [&](int x, int y) { return QPoint(x * percent / 100, y * percent / 100); };
        DrawRect(at(4, 4), at(40, 40));
        EXPECT_EQ(Coords(0), "4, 4, 41, 41") << percent << "%";
        QTest::mouseClick(Client(), Qt::LeftButton, {}, at(16, 16));
        Drag(at(16, 16), at(28, 24)); // a move of 12, 8 image pixels
        EXPECT_EQ(Coords(0), "16, 12, 53, 49") << percent << "%";
        Key(Qt::Key_Tab);
        window.ScrollBox1->horizontalScrollBar()->setValue(percent / 10);
        QApplication::processEvents();
        const TBaseRegion *region = Editor().Regions().Rects().first();
        EXPECT_EQ(region->geometry(), window.ScrollBox1->ViewRect(region->ImageBox())) << "scrolled with the image";
        ExpectFreshScreen(window, percent);
        Key(Qt::Key_Delete);
    }
    // Zoom used, the user may give the image more room than the designed size, not less.
    ASSERT_TRUE(window.UserResizable());
    const QSize view = window.ScrollBox1->size();
    window.resize(window.size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(window.ScrollBox1->size(), view + QSize(200, 100));
    window.resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(window.ScrollBox1->size(), view);
}

// Overlapping hotspots of every kind, one reaching past the image and a polygon whose points
// leave its box, stay painted as a fresh paint shows them through selection, moves and undo.
// (Enlarged views are left out: Qt's stroker may end a clipped outline one corner pixel apart.)
TEST_F(EditingTest, EveryKindIsPaintedAsAFreshPaintShowsIt)
{
    const std::vector<std::pair<THotspotKind, THotspotShape>> shapes = {
        {THotspotKind::Rect, {10, 10, 60, 80, 0, {}, 0, {}}},
        {THotspotKind::Circle, {30, 40, 41, 41, 20, {20, 20}, 0, {}}},
        {THotspotKind::Poly, {50, 20, 20, 20, 0, {}, 3, {{0, 0}, {30, 5}, {10, 30}, {0, 0}}}},
        {THotspotKind::Rect, {170, 270, 60, 50, 0, {}, 0, {}}},
        {THotspotKind::Rect, {72, 25, 15, 30, 0, {}, 0, {}}}, // under the polygon's stray points only
    };
    for (const auto &[kind, shape] : shapes)
        Editor().AddLoaded(kind, {0, shape, "u.html", {}, {}, {}});
    for (const int percent : {100, 25, 50}) {
        window.Zoom().ZoomTo(percent, {});
        for (int step = 0; step < 6; ++step) {
            Key(Qt::Key_Tab);
            Key(Qt::Key_Right, Qt::ShiftModifier);
            if (step % 2)
                window.Undo1->trigger();
            QApplication::processEvents();
            ExpectFreshScreen(window, percent + step);
        }
    }
}

TEST_F(EditingTest, TheCheckerInTheWindowFindsWhatTheCommandLineFinds)
{
    DrawRect({10, 10}, {100, 100});
    DrawRect({20, 20}, {50, 50}); // wholly covered
    // An alt text goes through the map file's extension block to the command line.
    Editor().Regions().Rects()[0]->StatusText = QStringLiteral("Big");
    window.CheckMap1->trigger();
    auto *checker = window.findChild<TfrmCheckMap *>();
    ASSERT_NE(checker, nullptr);
    const QString map = dir.filePath("checked.im");
    prompter.saveFiles.push_back(map);
    window.Save1Click();
    std::string json;
    for (const TFinding &finding : checker->Findings())
        json += FindingJson(map.toStdString(), finding) + "\n";
    const TToolRun cli = RunTool({QStringLiteral("check"), map, QStringLiteral("--json"), QStringLiteral("--alt")});
    EXPECT_EQ(cli.Out, json);
    EXPECT_NE(json.find("rectangle 2 has no alt text"), std::string::npos) << json;
    EXPECT_EQ(json.find("rectangle 1 has no alt text"), std::string::npos) << json;
    ASSERT_FALSE(checker->Findings().empty());
    checker->lstFindings->setCurrentRow(int(checker->Findings().size()) - 1);
    EXPECT_EQ(Editor().Selection().Ref, (THotspotRef{THotspotKind::Rect, 1})) << "choosing a finding selects its hotspot";
}

} // namespace
