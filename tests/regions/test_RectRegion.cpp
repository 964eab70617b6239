// Rectangle hotspots driven by real mouse events over an image in a scroll box.
#define QTEST_QPA_MOUSE_HANDLING
#include "dialogs/AddHotspotForm.h"
#include "dialogs/Prompter.h"
#include "regions/ChannelField.h"
#include "regions/CursorTable.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor ImageColour(0x20, 0x80, 0xC0);
const QColor LineColour(Qt::red);

// Answers every hotspot dialog with OK and fixed texts, or with Cancel.
struct DialogAnswer {
    explicit DialogAnswer(bool ok = true)
    {
        TGradientForm::SetModalHandler([this, ok](TGradientForm &form) {
            auto &dialog = dynamic_cast<TfrmHotSpot &>(form);
            owners << dialog.parentWidget();
            dialog.cmbURL->setCurrentText(QStringLiteral("a.html"));
            dialog.txtAlt->setText(QStringLiteral("Status A"));
            dialog.txtTarget->setCurrentText(QStringLiteral("_top"));
            (ok ? dialog.btnOk : dialog.btnCancel)->click();
        });
    }
    ~DialogAnswer() { TGradientForm::SetModalHandler(nullptr); }
    QList<QWidget *> owners;
};

struct FakePrompter : IPrompter {
    FakePrompter() { SetPrompter(this); }
    ~FakePrompter() override { SetPrompter(nullptr); }
    QMessageBox::StandardButton Message(QWidget *, Kind, const QString &, const QString &text,
                                        QMessageBox::StandardButtons) override
    {
        messages << text;
        return QMessageBox::Ok;
    }
    QString OpenFile(QWidget *, const OpenFileRequest &) override { return {}; }
    std::optional<QColor> ChooseColour(QWidget *, const QColor &) override { return std::nullopt; }
    QStringList messages;
};

// The main window's side in miniature: a 300 x 200 image, the channel, the bottom bar and a
// dispatcher that answers "MOVE", deselects on "REPAINT" and drops a cancelled rectangle.
struct Editor {
    explicit Editor(QSize imageSize = {300, 200})
    {
        window.resize(400, 330);
        box->setGeometry(0, 0, 400, 300);
        QPixmap picture(imageSize);
        picture.fill(ImageColour);
        image->setPixmap(picture);
        image->setGeometry(QRect(QPoint(0, 0), imageSize));
        txtTarget->setGeometry(0, 300, 100, 25);
        cmbURL->setEditable(true);
        cmbURL->setGeometry(110, 300, 200, 25);
        QObject::connect(&txtInfo, &TChannelField::Changed, &txtInfo, [this] { Dispatch(); });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        AppCursor::Set(AppCursor::crDefault);
    }

    void Dispatch()
    {
        words << txtInfo.Text();
        if (txtInfo.Text() == QLatin1String("CANCELRECT")) {
            TRectRegion *cancelled = regions.takeLast();
            if (destroyCancelled)
                cancelled->deleteLater();
            txtInfo.SetText(QStringLiteral("DRAWN"));
        }
        if (txtInfo.Text() == QLatin1String("MOVE")) {
            txtXPos.SetText(badAnswer.isEmpty() ? QString::number(image->x()) : badAnswer);
            txtYPos.SetInt(image->y());
        }
        if (txtInfo.Text() == QLatin1String("REPAINT")) {
            for (TRectRegion *r : regions) {
                r->Deselect();
                r->repaint();
            }
        }
    }

    // What the rectangle tool does: a region spanning the image, then "DRAWING".
    TRectRegion *NewRect()
    {
        auto *r = new TRectRegion(box);
        r->show();
        r->SetBounds(image->x(), image->y(), image->width(), image->height());
        r->txtXPos = &txtXPos;
        r->txtYPos = &txtYPos;
        r->txtInfo = &txtInfo;
        r->txtTarget = txtTarget;
        r->cmbURL = cmbURL;
        r->SetPenColor(LineColour);
        r->raise();
        regions << r;
        txtInfo.SetText(QStringLiteral("DRAWING"));
        return r;
    }

    // Client-area points from here on.
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(box->Client(), b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(box->Client(), b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(box->Client(), p); }
    void Click(QPoint p) { QTest::mouseClick(box->Client(), Qt::LeftButton, {}, p); }
    void Drag(QPoint from, std::initializer_list<QPoint> path)
    {
        Press(from);
        for (QPoint p : path)
            Move(p);
        Release(path.size() ? *(path.end() - 1) : from);
    }
    // Moves one pixel at a time, as a hand does, so the grip stays under the pointer.
    void Glide(QPoint from, QPoint to)
    {
        Press(from);
        for (QPoint at = from; at != to; Move(at))
            at += QPoint((to.x() > at.x()) - (to.x() < at.x()), (to.y() > at.y()) - (to.y() < at.y()));
        Release(to);
    }
    TRectRegion *DrawRect(QPoint from, QPoint to)
    {
        DialogAnswer answer;
        TRectRegion *r = NewRect();
        Drag(from, {to});
        return r;
    }
    QImage Screen() { return window.screen()->grabWindow(window.winId()).toImage(); }
    QColor PixelAt(QPoint p) { return Screen().pixelColor(box->Client()->mapTo(&window, p)); }

    QWidget window;
    TScrollBox *box = new TScrollBox(&window);
    QLabel *image = new QLabel(box->Client());
    TChannelField txtXPos{QStringLiteral("txtXPos")}, txtYPos{QStringLiteral("txtYPos")},
        txtInfo{QStringLiteral("txtInfo")};
    QLineEdit *txtTarget = new QLineEdit(&window);
    QComboBox *cmbURL = new QComboBox(&window);
    QList<QPointer<TRectRegion>> regions;
    QStringList words;
    QString badAnswer;
    bool destroyCancelled = true;
};

QRect BoxOf(const TBaseRegion *r) { return {r->Left(), r->Top(), r->Width(), r->Height()}; }

// A 100 x 80 rectangle at 50, 50, selected and idle.
TRectRegion *SelectedRect(Editor &e)
{
    TRectRegion *r = e.DrawRect({50, 50}, {148, 128});
    e.Click({100, 90});
    EXPECT_TRUE(r->Selected);
    return r;
}

} // namespace

TEST(RectRegionDrawing, ClickGivesTwoByTwoAndDialogTextsAreKept)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    e.Click({30, 40});
    EXPECT_TRUE(r->Drawn);
    EXPECT_EQ(r->GetCoords(), QStringLiteral("30, 40, 31, 41"));
    EXPECT_EQ(r->ImageWidth, 300);
    EXPECT_EQ(answer.owners, QList<QWidget *>{r});
    EXPECT_EQ(QStringList({r->URL, r->Target, r->StatusText}), QStringList({"a.html", "_top", "Status A"}));
    EXPECT_EQ(e.words.last(), QStringLiteral("DRAWN"));
    EXPECT_TRUE(AppCursor::IsDefault());
    // A double click draws once; its second press selects the new rectangle.
    TRectRegion *d = e.NewRect();
    QTest::mouseDClick(e.box->Client(), Qt::LeftButton, {}, {140, 40});
    EXPECT_EQ(answer.owners.size(), 2);
    EXPECT_EQ(BoxOf(d), QRect(140, 40, 2, 2));
    EXPECT_TRUE(d->Selected);
}

TEST(RectRegionDrawing, UpLeftNormalisesAndThePointerStaysOnTheImage)
{
    Editor e;
    EXPECT_EQ(e.DrawRect({80, 90}, {20, 30})->GetCoords(), QStringLiteral("21, 31, 80, 90"));
    EXPECT_EQ(e.DrawRect({21, 31}, {79, 89})->GetCoords(), QStringLiteral("21, 31, 80, 90"));
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    e.Press({250, 150});
    EXPECT_TRUE(r->PointerConfined());
    EXPECT_EQ(AppCursor::CurrentNumber(), AppCursor::crDrawRect);
    e.Move({380, 280}); // beyond the image: the handler sees its last pixel
    e.Release({380, 280});
    EXPECT_EQ(r->GetCoords(), QStringLiteral("250, 150, 300, 200"));
    EXPECT_FALSE(r->PointerConfined());
}

TEST(RectRegionDrawing, CancelReportsOnlyTheCancelWordAndIgnoresLateInput)
{
    Editor e;
    DialogAnswer answer(false);
    e.destroyCancelled = false;
    QPointer<TRectRegion> r = e.NewRect();
    e.Drag({10, 10}, {{50, 60}});
    const int cancel = e.words.indexOf(QStringLiteral("CANCELRECT"));
    ASSERT_GE(cancel, 0);
    EXPECT_EQ(e.words.indexOf(QStringLiteral("DRAWN")), cancel + 1) << "only the dispatcher's DRAWN";
    EXPECT_TRUE(r->Cancelled() && r->isHidden());
    r->show();
    r->raise();
    e.Click({20, 20});
    EXPECT_FALSE(r->Selected);
    EXPECT_TRUE(e.regions.isEmpty());
    delete r;
}

TEST(RectRegionDrawing, ReleasingAnotherButtonCompletes)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    e.Press({10, 20});
    e.Move({40, 50});
    e.Press({40, 50}, Qt::RightButton);
    e.Release({40, 50}, Qt::RightButton);
    EXPECT_EQ(r->GetCoords(), QStringLiteral("10, 20, 41, 51"));
    e.Release({40, 50});
    EXPECT_EQ(answer.owners.size(), 1);
    EXPECT_FALSE(r->Dragging);
}

TEST(RectRegionLook, BandInvertsOutlineIsSolidSelectionIsDottedXor)
{
    Editor e;
    DialogAnswer answer;
    e.NewRect();
    e.Press({20, 30});
    e.Move({80, 70});
    e.Move({60, 50});
    const QColor inverted(255 - ImageColour.red(), 255 - ImageColour.green(), 255 - ImageColour.blue());
    EXPECT_EQ(e.PixelAt({20, 30}), inverted);
    EXPECT_EQ(e.PixelAt({61, 51}), inverted);
    EXPECT_EQ(e.PixelAt({81, 71}), ImageColour) << "the previous band is gone";
    e.Release({60, 50});
    EXPECT_EQ(e.PixelAt({40, 30}), LineColour);
    EXPECT_EQ(e.PixelAt({40, 40}), ImageColour);
    e.Click({40, 40});
    // Dots mix the pen colour in; gaps mix in white, so even a black outline shows when selected.
    const QColor xored(ImageColour.rgb() ^ LineColour.rgb());
    int dots = 0, gaps = 0;
    for (int x = 25; x < 55; ++x) {
        dots += e.PixelAt({x, 30}) == xored;
        gaps += e.PixelAt({x, 30}) == inverted;
    }
    EXPECT_GT(dots, 8);
    EXPECT_GT(gaps, 8);
    EXPECT_EQ(dots + gaps, 30);
}

TEST(RectRegionEvents, PointerMotionAsksForTheOriginAndBadAnswersAreReported)
{
    Editor e;
    FakePrompter prompter;
    TRectRegion *r = e.DrawRect({50, 50}, {150, 120});
    e.words.clear();
    e.Move({100, 80});
    EXPECT_EQ(e.words.mid(e.words.size() - 2), (QStringList{QString(), QStringLiteral("MOVE")}));
    EXPECT_TRUE(AppCursor::IsDefault()) << "an unselected region keeps the cursor";
    e.Click({100, 80});
    e.badAnswer = QStringLiteral("12a");
    e.Drag({100, 80}, {{120, 90}});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 102, 72));
    EXPECT_EQ(prompter.messages.value(0), QStringLiteral("'12a' is not a valid integer value"));
}

TEST(RectRegionSelection, OneSelectedAtATimeShowingItsTexts)
{
    Editor e;
    TRectRegion *a = e.DrawRect({10, 10}, {60, 60});
    a->Target = QStringLiteral("left");
    TRectRegion *b = e.DrawRect({100, 100}, {150, 150});
    b->URL = QStringLiteral("b.html");
    e.words.clear();
    e.Press({30, 30});
    const int repaint = e.words.indexOf(QStringLiteral("REPAINT"));
    ASSERT_GE(repaint, 1);
    EXPECT_EQ(e.words[repaint - 1], QString());
    EXPECT_TRUE(a->Selected && a->Dragging);
    EXPECT_EQ(a->PenMode(), TBaseRegion::TPenMode::pmXor);
    EXPECT_EQ(AppCursor::CurrentNumber(), AppCursor::crMoveRegion);
    EXPECT_EQ(e.txtTarget->text(), QStringLiteral("left"));
    e.Release({30, 30});
    EXPECT_TRUE(AppCursor::IsDefault());
    e.Click({120, 120});
    EXPECT_FALSE(a->Selected);
    EXPECT_EQ(a->PenStyle(), TBaseRegion::TPenStyle::psSolid);
    EXPECT_TRUE(b->Selected);
    EXPECT_EQ(e.cmbURL->currentText(), QStringLiteral("b.html"));
    // The main window forwards a missed click by calling the handlers directly.
    a->MouseDown(TMouseButton::mbLeft, 0, 5, 5);
    a->MouseUp(TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_TRUE(a->Selected && !a->Dragging && !b->Selected);
}

TEST(RectRegionResize, EachGripKeepsTheOppositeEdgeWithinLimits)
{
    const struct { QPoint grip, to; Qt::CursorShape cursor; QRect expected; } rows[] = {
        {{52, 90}, {30, 95}, Qt::SizeHorCursor, {30, 50, 120, 80}},
        {{145, 90}, {170, 95}, Qt::SizeHorCursor, {50, 50, 120, 80}},
        {{100, 52}, {105, 40}, Qt::SizeVerCursor, {50, 40, 100, 90}},
        {{100, 125}, {105, 140}, Qt::SizeVerCursor, {50, 50, 100, 90}},
        {{52, 52}, {40, 45}, Qt::SizeFDiagCursor, {40, 45, 110, 85}},
        {{145, 52}, {160, 45}, Qt::SizeBDiagCursor, {50, 45, 110, 85}},
        {{52, 125}, {40, 140}, Qt::SizeBDiagCursor, {40, 50, 110, 90}},
        {{145, 125}, {160, 140}, Qt::SizeFDiagCursor, {50, 50, 110, 90}},
        // Never under 10 pixels, never past the image's edges.
        {{145, 90}, {30, 90}, Qt::SizeHorCursor, {50, 50, 10, 80}},
        {{145, 125}, {350, 260}, Qt::SizeFDiagCursor, {50, 50, 250, 150}},
    };
    for (const auto &row : rows) {
        Editor e;
        TRectRegion *r = SelectedRect(e);
        e.Move(row.grip);
        EXPECT_EQ(AppCursor::CurrentShape(), row.cursor) << row.grip.x() << "," << row.grip.y();
        e.Glide(row.grip, row.to);
        EXPECT_EQ(BoxOf(r), row.expected) << row.grip.x() << "," << row.grip.y();
    }
}

TEST(RectRegionResize, BodyTurnsAResizeIntoAMoveAndGripsNeedAHover)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Move({145, 90});
    e.Press({145, 90});
    e.Move({147, 90});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 97, 80));
    e.Move({110, 90});
    EXPECT_EQ(r->ResizeZone, rectgeom::Zone::None);
    const QRect before = BoxOf(r);
    e.Move({100, 95});
    e.Release({100, 95});
    EXPECT_EQ(BoxOf(r), before.translated(-10, 5));
    // Pressed on a grip of an unselected rectangle: no zone yet, so only the body drags it.
    TRectRegion *s = e.DrawRect({200, 50}, {248, 98}); // 50 x 50
    e.Press({247, 70});
    e.Move({248, 75});
    EXPECT_EQ(BoxOf(s), QRect(200, 50, 50, 50));
    e.Move({220, 75});
    e.Release({220, 75});
    EXPECT_EQ(BoxOf(s), QRect(173, 55, 50, 50));
}

TEST(RectRegionMove, ImageEdgeStopsOneAxisAndNegativeTopStopsTheBody)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Move({100, 90});
    // Steps of (-20, +10): the third x step would leave the image and is dropped, y goes on.
    e.Drag({100, 90}, {{80, 100}, {60, 110}, {40, 120}, {20, 130}});
    EXPECT_EQ(BoxOf(r), QRect(10, 90, 100, 80));

    Editor tall({300, 600});
    TRectRegion *t = tall.DrawRect({50, 20}, {148, 98}); // 100 x 80 at 50, 20
    tall.box->verticalScrollBar()->setValue(30);
    tall.Click({100, 40});
    tall.Move({100, 40});
    tall.Drag({100, 40}, {{120, 60}});
    EXPECT_EQ(BoxOf(t).translated(-tall.image->pos()), QRect(50, 20, 100, 80)) << "not moved";
    EXPECT_EQ(t->Top(), 0) << "but scrolled into view";
    tall.box->verticalScrollBar()->setValue(30);
    tall.Move({145, 40});
    tall.Glide({145, 40}, {160, 40});
    EXPECT_EQ(t->Width(), 110) << "a resize works with a negative top";
}
