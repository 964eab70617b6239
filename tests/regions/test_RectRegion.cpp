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
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QColor ImageColour(0x20, 0x80, 0xC0);
const QColor LineColour(Qt::red);

// Answers every hotspot dialog with OK and fixed texts, or with Cancel.
class DialogAnswer {
public:
    explicit DialogAnswer(bool ok = true)
    {
        TGradientForm::SetModalHandler([this, ok](TGradientForm &form) {
            auto *dialog = qobject_cast<TfrmHotSpot *>(&form);
            ASSERT_NE(dialog, nullptr);
            owners << dialog->parentWidget();
            if (Before)
                Before();
            if (!ok) {
                dialog->btnCancel->click();
                return;
            }
            dialog->cmbURL->setCurrentText(QStringLiteral("http://example.test/a.html"));
            dialog->txtAlt->setText(QStringLiteral("Status A"));
            dialog->txtTarget->setCurrentText(QStringLiteral("_top"));
            dialog->btnOk->click();
        });
    }
    ~DialogAnswer() { TGradientForm::SetModalHandler(nullptr); }
    QList<QWidget *> owners;
    std::function<void()> Before;
};

class FakePrompter : public IPrompter {
public:
    FakePrompter() { SetPrompter(this); }
    ~FakePrompter() override { SetPrompter(nullptr); }
    QMessageBox::StandardButton Message(QWidget *, Kind kind, const QString &, const QString &text,
                                        QMessageBox::StandardButtons) override
    {
        messages << text;
        kinds << kind;
        return QMessageBox::Ok;
    }
    QString OpenFile(QWidget *, const OpenFileRequest &) override { return {}; }
    std::optional<QColor> ChooseColour(QWidget *, const QColor &) override { return std::nullopt; }
    QStringList messages;
    QList<Kind> kinds;
};

// The main window's side in miniature: image, channel fields, bottom bar and a dispatcher that
// answers "MOVE", deselects on "REPAINT" and drops a cancelled rectangle.
class Editor {
public:
    explicit Editor(QSize imageSize = {300, 200}, QSize boxSize = {400, 300})
    {
        window.resize(boxSize.width(), boxSize.height() + 30);
        box = new TScrollBox(&window);
        box->setGeometry(0, 0, boxSize.width(), boxSize.height());
        image = new QLabel(box->Client());
        image->setObjectName(QStringLiteral("Image1"));
        QPixmap picture(imageSize);
        picture.fill(ImageColour);
        image->setPixmap(picture);
        image->setGeometry(QRect(QPoint(0, 0), imageSize));
        txtTarget = new QLineEdit(&window);
        txtTarget->setGeometry(0, boxSize.height(), 100, 25);
        cmbURL = new QComboBox(&window);
        cmbURL->setEditable(true);
        cmbURL->setGeometry(110, boxSize.height(), 200, 25);
        QObject::connect(&txtInfo, &TChannelField::Changed, &txtInfo, [this] { Dispatch(); });
        QObject::connect(txtTarget, &QLineEdit::textChanged, txtTarget, [this](const QString &text) {
            if (TRectRegion *r = SelectedRegion())
                r->Target = text;
        });
        QObject::connect(cmbURL, &QComboBox::currentTextChanged, cmbURL, [this](const QString &text) {
            if (TRectRegion *r = SelectedRegion())
                r->URL = text;
        });
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

    TRectRegion *SelectedRegion() const
    {
        for (TRectRegion *r : regions)
            if (r->Selected)
                return r;
        return nullptr;
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

    // Presses at from, moves to each point with the button held, releases at the last one.
    void Drag(QPoint from, std::initializer_list<QPoint> path, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(box->Client(), button, {}, from);
        QPoint at = from;
        for (QPoint p : path) {
            QTest::mouseMove(box->Client(), p);
            at = p;
        }
        QTest::mouseRelease(box->Client(), button, {}, at);
    }

    // A rectangle drawn from one client point to another and answered with OK.
    TRectRegion *DrawRect(QPoint from, QPoint to)
    {
        DialogAnswer answer;
        TRectRegion *r = NewRect();
        Drag(from, {to});
        return r;
    }

    // Presses at from and moves one pixel at a time to to, as a hand does, then releases.
    void Glide(QPoint from, QPoint to)
    {
        QTest::mousePress(box->Client(), Qt::LeftButton, {}, from);
        QPoint at = from;
        while (at != to) {
            at += QPoint((to.x() > at.x()) - (to.x() < at.x()), (to.y() > at.y()) - (to.y() < at.y()));
            QTest::mouseMove(box->Client(), at);
        }
        QTest::mouseRelease(box->Client(), Qt::LeftButton, {}, to);
    }

    void Hover(QPoint p) { QTest::mouseMove(box->Client(), p); }
    void Click(QPoint p) { QTest::mouseClick(box->Client(), Qt::LeftButton, {}, p); }

    QImage Screen() { return window.screen()->grabWindow(window.winId()).toImage(); }
    QColor PixelAt(QPoint clientPoint) { return Screen().pixelColor(box->Client()->mapTo(&window, clientPoint)); }

    QWidget window;
    TScrollBox *box = nullptr;
    QLabel *image = nullptr;
    TChannelField txtXPos{QStringLiteral("txtXPos")};
    TChannelField txtYPos{QStringLiteral("txtYPos")};
    TChannelField txtInfo{QStringLiteral("txtInfo")};
    QLineEdit *txtTarget = nullptr;
    QComboBox *cmbURL = nullptr;
    QList<QPointer<TRectRegion>> regions;
    QStringList words;
    QString badAnswer;
    bool destroyCancelled = true;
};

QRect BoxOf(const TBaseRegion *r) { return {r->Left(), r->Top(), r->Width(), r->Height()}; }

QColor Inverted(const QColor &c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); }

QColor Xored(const QColor &a, const QColor &b)
{
    return QColor(a.red() ^ b.red(), a.green() ^ b.green(), a.blue() ^ b.blue());
}

} // namespace

TEST(RectRegionDrawing, ClickWithoutMotionGivesTwoByTwo)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    EXPECT_EQ(BoxOf(r), QRect(0, 0, 300, 200)) << "a new region spans the image";
    e.Click({30, 40});
    EXPECT_TRUE(r->Drawn);
    EXPECT_FALSE(r->Drawing);
    EXPECT_EQ(BoxOf(r), QRect(30, 40, 2, 2));
    EXPECT_EQ(r->GetCoords(), QStringLiteral("30, 40, 31, 41"));
    EXPECT_EQ(r->DrawRect, (rectgeom::Corners{0, 0, 1, 1}));
    EXPECT_EQ(r->ImageWidth, 300);
    EXPECT_EQ(r->ImageHeight, 200);
    EXPECT_EQ(answer.owners, QList<QWidget *>{r});
    EXPECT_EQ(r->URL, QStringLiteral("http://example.test/a.html"));
    EXPECT_EQ(r->Target, QStringLiteral("_top"));
    EXPECT_EQ(r->StatusText, QStringLiteral("Status A"));
    EXPECT_EQ(e.words.last(), QStringLiteral("DRAWN"));
    EXPECT_FALSE(r->PointerConfined());
    EXPECT_TRUE(AppCursor::IsDefault());
}

TEST(RectRegionDrawing, DraggingUpLeftNormalisesToTheSameRectangle)
{
    Editor e;
    TRectRegion *upLeft = e.DrawRect({80, 90}, {20, 30});
    EXPECT_EQ(BoxOf(upLeft), QRect(21, 31, 60, 60));
    EXPECT_EQ(upLeft->GetCoords(), QStringLiteral("21, 31, 80, 90"));
    TRectRegion *downRight = e.DrawRect({21, 31}, {79, 89});
    EXPECT_EQ(BoxOf(downRight), BoxOf(upLeft));
}

TEST(RectRegionDrawing, PointerIsHeldInsideTheImageWhileDrawing)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {250, 150});
    EXPECT_TRUE(r->PointerConfined());
    EXPECT_EQ(AppCursor::CurrentNumber(), AppCursor::crDrawRect);
    // Beyond the image's right and bottom edges the handler sees the last image pixel.
    QTest::mouseMove(e.box->Client(), {380, 280});
    EXPECT_EQ(r->DrawRect, (rectgeom::Corners{250, 150, 300, 200}));
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {380, 280});
    EXPECT_EQ(r->GetCoords(), QStringLiteral("250, 150, 300, 200"));
    EXPECT_FALSE(r->PointerConfined());
}

TEST(RectRegionDrawing, CancelReportsTheCancelWordAndNeverDrawn)
{
    Editor e;
    DialogAnswer answer(false);
    e.destroyCancelled = false;
    QPointer<TRectRegion> r = e.NewRect();
    e.Drag({10, 10}, {{50, 60}});
    const int cancel = e.words.indexOf(QStringLiteral("CANCELRECT"));
    ASSERT_GE(cancel, 0);
    EXPECT_EQ(e.words.indexOf(QStringLiteral("DRAWN")), cancel + 1) << "only the dispatcher's own DRAWN follows";
    EXPECT_TRUE(e.regions.isEmpty());
    ASSERT_FALSE(r.isNull());
    EXPECT_TRUE(r->Cancelled());
    EXPECT_TRUE(r->isHidden());
    // Input that reaches it before it is destroyed finds nothing to select.
    r->show();
    r->raise();
    e.Click({20, 20});
    EXPECT_FALSE(r->Selected);
    delete r;

    // The main window's deferred destruction takes it away once the handler has returned.
    e.destroyCancelled = true;
    r = e.NewRect();
    e.Drag({10, 10}, {{50, 60}});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(r.isNull());
    EXPECT_TRUE(e.regions.isEmpty());
}

TEST(RectRegionDrawing, ReleasingAnotherButtonCompletes)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {10, 20});
    QTest::mouseMove(e.box->Client(), {40, 50});
    QTest::mousePress(e.box->Client(), Qt::RightButton, {}, {40, 50});
    QTest::mouseRelease(e.box->Client(), Qt::RightButton, {}, {40, 50});
    EXPECT_TRUE(r->Drawn);
    EXPECT_EQ(r->GetCoords(), QStringLiteral("10, 20, 41, 51"));
    EXPECT_EQ(answer.owners.size(), 1);
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {40, 50});
    EXPECT_EQ(answer.owners.size(), 1) << "the left release starts nothing new";
    EXPECT_FALSE(r->Dragging);
    EXPECT_EQ(BoxOf(r), QRect(10, 20, 32, 32));
}

TEST(RectRegionDrawing, RubberBandInvertsTheImageBeneath)
{
    Editor e;
    DialogAnswer answer;
    TRectRegion *r = e.NewRect();
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {20, 30});
    QTest::mouseMove(e.box->Client(), {80, 70});
    QTest::mouseMove(e.box->Client(), {60, 50});
    const QColor inverted = Inverted(ImageColour);
    EXPECT_EQ(e.PixelAt({20, 30}), inverted);
    EXPECT_EQ(e.PixelAt({61, 51}), inverted);
    EXPECT_EQ(e.PixelAt({40, 51}), inverted);
    // The longer band of the previous step is gone, the inside is untouched.
    EXPECT_EQ(e.PixelAt({81, 71}), ImageColour);
    EXPECT_EQ(e.PixelAt({40, 40}), ImageColour);
    EXPECT_EQ(r->PenMode(), TBaseRegion::TPenMode::pmCopy);
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {60, 50});
    // Drawn: a solid outline in the line colour along the inner border.
    EXPECT_EQ(e.PixelAt({20, 30}), LineColour);
    EXPECT_EQ(e.PixelAt({61, 51}), LineColour);
    EXPECT_EQ(e.PixelAt({40, 30}), LineColour);
    EXPECT_EQ(e.PixelAt({40, 40}), ImageColour);
}

TEST(RectRegionEvents, AnyPointerMotionOverARegionAsksForTheImageOrigin)
{
    Editor e;
    TRectRegion *r = e.DrawRect({50, 50}, {150, 120});
    e.words.clear();
    e.Hover({100, 80});
    ASSERT_GE(e.words.size(), 2);
    EXPECT_EQ(e.words.mid(e.words.size() - 2), (QStringList{QString(), QStringLiteral("MOVE")}));
    // Not selected: the hover changes neither the cursor nor the zone.
    EXPECT_TRUE(AppCursor::IsDefault());
    EXPECT_EQ(r->ResizeZone, rectgeom::Zone::Unset);
}

TEST(RectRegionEvents, AnswerThatIsNotANumberIsReportedAndChangesNothing)
{
    Editor e;
    FakePrompter prompter;
    TRectRegion *r = e.DrawRect({50, 50}, {150, 120});
    e.Click({100, 80});
    e.badAnswer = QStringLiteral("12a");
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {100, 80});
    QTest::mouseMove(e.box->Client(), {120, 90});
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {120, 90});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 102, 72));
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.first(), QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(prompter.kinds.first(), IPrompter::Kind::Error);
}

TEST(RectRegionSelection, PressSelectsAndExactlyOneStaysSelected)
{
    Editor e;
    TRectRegion *a = e.DrawRect({10, 10}, {60, 60});
    a->URL = QStringLiteral("a.html");
    a->Target = QStringLiteral("left");
    TRectRegion *b = e.DrawRect({100, 100}, {150, 150});
    b->URL = QStringLiteral("b.html");
    b->Target = QString();
    e.words.clear();
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {30, 30});
    const int repaint = e.words.indexOf(QStringLiteral("REPAINT"));
    ASSERT_GE(repaint, 1);
    EXPECT_EQ(e.words[repaint - 1], QString());
    EXPECT_TRUE(a->Selected);
    EXPECT_TRUE(a->Dragging);
    EXPECT_EQ(a->PenStyle(), TBaseRegion::TPenStyle::psDot);
    EXPECT_EQ(a->PenMode(), TBaseRegion::TPenMode::pmXor);
    EXPECT_EQ(AppCursor::CurrentNumber(), AppCursor::crMoveRegion);
    EXPECT_EQ(e.txtTarget->text(), QStringLiteral("left"));
    EXPECT_EQ(e.cmbURL->currentText(), QStringLiteral("a.html"));
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {30, 30});
    EXPECT_FALSE(a->Dragging);
    EXPECT_TRUE(AppCursor::IsDefault());

    e.Click({120, 120});
    EXPECT_FALSE(a->Selected);
    EXPECT_EQ(a->PenStyle(), TBaseRegion::TPenStyle::psSolid);
    EXPECT_TRUE(b->Selected);
    EXPECT_EQ(e.cmbURL->currentText(), QStringLiteral("b.html"));
    EXPECT_EQ(e.txtTarget->text(), QString());
    EXPECT_EQ(a->URL, QStringLiteral("a.html")) << "showing b's texts leaves a's alone";
    EXPECT_EQ(a->Target, QStringLiteral("left"));
}

TEST(RectRegionSelection, ForwardedClickSelectsWithoutDragging)
{
    Editor e;
    TRectRegion *r = e.DrawRect({10, 10}, {60, 60});
    r->MouseDown(TMouseButton::mbLeft, 0, 5, 5);
    r->MouseUp(TMouseButton::mbLeft, 0, 5, 5);
    EXPECT_TRUE(r->Selected);
    EXPECT_FALSE(r->Dragging);
    EXPECT_TRUE(AppCursor::IsDefault());
    // Right and middle presses and points outside the box do nothing.
    r->Deselect();
    r->MouseDown(TMouseButton::mbRight, 0, 5, 5);
    r->MouseDown(TMouseButton::mbLeft, 0, 60, 5);
    EXPECT_FALSE(r->Selected);
}

TEST(RectRegionSelection, SelectedLookIsADottedXorOutline)
{
    Editor e;
    e.DrawRect({20, 20}, {119, 79}); // 101 x 61 at 20, 20
    e.Click({60, 50});
    const QColor xored = Xored(ImageColour, LineColour);
    int xoredCount = 0;
    int plainCount = 0;
    for (int x = 30; x < 90; ++x) {
        const QColor c = e.PixelAt({x, 20});
        xoredCount += c == xored;
        plainCount += c == ImageColour;
    }
    EXPECT_GT(xoredCount, 15);
    EXPECT_GT(plainCount, 15) << "dotted: gaps show the image";
    EXPECT_EQ(xoredCount + plainCount, 60);
    EXPECT_EQ(e.PixelAt({60, 50}), ImageColour);
}

namespace {
// A 100 x 80 rectangle at 50, 50, selected and idle (the 300 x 200 image spans 0, 0 to 299, 199).
TRectRegion *SelectedRect(Editor &e)
{
    TRectRegion *r = e.DrawRect({50, 50}, {148, 128});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 100, 80));
    e.Click({100, 90});
    EXPECT_TRUE(r->Selected);
    return r;
}

} // namespace

TEST(RectRegionResize, EachGripMovesItsEdgesAndKeepsTheOpposite)
{
    struct Row {
        QPoint grip;
        QPoint to;
        rectgeom::Zone zone;
        Qt::CursorShape cursor;
        QRect expected;
    };
    const Row rows[] = {
        {{52, 90}, {30, 95}, rectgeom::Zone::W, Qt::SizeHorCursor, {30, 50, 120, 80}},
        {{145, 90}, {170, 95}, rectgeom::Zone::E, Qt::SizeHorCursor, {50, 50, 120, 80}},
        {{100, 52}, {105, 40}, rectgeom::Zone::N, Qt::SizeVerCursor, {50, 40, 100, 90}},
        {{100, 125}, {105, 140}, rectgeom::Zone::S, Qt::SizeVerCursor, {50, 50, 100, 90}},
        {{52, 52}, {40, 45}, rectgeom::Zone::NW, Qt::SizeFDiagCursor, {40, 45, 110, 85}},
        {{145, 52}, {160, 45}, rectgeom::Zone::NE, Qt::SizeBDiagCursor, {50, 45, 110, 85}},
        {{52, 125}, {40, 140}, rectgeom::Zone::SW, Qt::SizeBDiagCursor, {40, 50, 110, 90}},
        {{145, 125}, {160, 140}, rectgeom::Zone::SE, Qt::SizeFDiagCursor, {50, 50, 110, 90}},
    };
    for (const Row &row : rows) {
        Editor e;
        TRectRegion *r = SelectedRect(e);
        e.Hover(row.grip);
        EXPECT_EQ(r->ResizeZone, row.zone) << rectgeom::ZoneName(row.zone);
        EXPECT_EQ(AppCursor::CurrentShape(), row.cursor) << rectgeom::ZoneName(row.zone);
        e.Drag(row.grip, {row.to});
        EXPECT_EQ(BoxOf(r), row.expected) << rectgeom::ZoneName(row.zone);
        EXPECT_TRUE(AppCursor::IsDefault());
    }
}

TEST(RectRegionResize, SidesStayAtLeastTenAndInsideTheImage)
{
    // The edge under the pointer follows it until the side would go under 10 pixels or the edge
    // would leave the image (300 x 200); then it stays.
    struct Row {
        QPoint grip;
        QPoint to;
        QRect expected;
    };
    const Row rows[] = {
        {{145, 90}, {30, 90}, {50, 50, 10, 80}},
        {{100, 52}, {100, 160}, {50, 120, 100, 10}},
        {{52, 90}, {-20, 90}, {0, 50, 150, 80}},
        {{100, 127}, {100, 260}, {50, 50, 100, 150}},
        {{145, 90}, {350, 90}, {50, 50, 250, 80}},
        {{145, 125}, {350, 260}, {50, 50, 250, 150}},
    };
    for (const Row &row : rows) {
        Editor e;
        TRectRegion *r = SelectedRect(e);
        e.Hover(row.grip);
        e.Glide(row.grip, row.to);
        EXPECT_EQ(BoxOf(r), row.expected) << row.grip.x() << "," << row.grip.y();
    }
}

TEST(RectRegionResize, ReachingTheBodyTurnsTheResizeIntoAMove)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Hover({145, 90});
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {145, 90});
    QTest::mouseMove(e.box->Client(), {147, 90});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 97, 80));
    EXPECT_EQ(r->ResizeZone, rectgeom::Zone::E);
    // The body: the zone becomes NONE and from here on the rectangle follows the pointer whole.
    QTest::mouseMove(e.box->Client(), {110, 90});
    EXPECT_EQ(r->ResizeZone, rectgeom::Zone::None);
    const int width = r->Width();
    const QPoint before = r->pos();
    QTest::mouseMove(e.box->Client(), {100, 95});
    EXPECT_EQ(r->Width(), width);
    EXPECT_EQ(r->pos(), before + QPoint(-10, 5));
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {100, 95});
}

TEST(RectRegionResize, GripsWorkOnlyAfterAHoverWhileSelected)
{
    Editor e;
    TRectRegion *r = e.DrawRect({50, 50}, {148, 128});
    // Pressed straight on the right grip while unselected: no zone yet, so moving along the grip
    // does nothing.
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {145, 90});
    EXPECT_TRUE(r->Selected);
    QTest::mouseMove(e.box->Client(), {146, 95});
    EXPECT_EQ(BoxOf(r), QRect(50, 50, 100, 80));
    EXPECT_EQ(r->ResizeZone, rectgeom::Zone::Unset);
    // In the body the zone becomes NONE and the rectangle moves by the pointer's step since the press.
    QTest::mouseMove(e.box->Client(), {120, 95});
    EXPECT_EQ(BoxOf(r), QRect(25, 55, 100, 80));
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {120, 95});
}

TEST(RectRegionMove, ImageEdgeStopsOneAxisOnly)
{
    Editor e;
    TRectRegion *r = SelectedRect(e);
    e.Hover({100, 90});
    // Steps of (-20, +10): the third x step would leave the image and is dropped, y goes on.
    e.Drag({100, 90}, {{80, 100}, {60, 110}, {40, 120}, {20, 130}});
    EXPECT_EQ(BoxOf(r), QRect(10, 90, 100, 80));
    // Steps of (+30, +15): y stops at the bottom edge (90 + 80 is 170; 200 - 80 is 120), x goes on.
    e.Hover({60, 130});
    e.Drag({60, 130}, {{90, 145}, {120, 160}, {150, 175}});
    EXPECT_EQ(BoxOf(r), QRect(100, 120, 100, 80));
}

TEST(RectRegionMove, NegativeTopBlocksTheBodyButScrollsItIntoView)
{
    Editor e({300, 600}, {400, 300});
    TRectRegion *r = e.DrawRect({50, 20}, {148, 98}); // 100 x 80 at 50, 20
    e.box->verticalScrollBar()->setValue(30);
    ASSERT_EQ(r->Top(), -10);
    e.Click({100, 40});
    ASSERT_TRUE(r->Selected);
    e.Hover({100, 40});
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {100, 40});
    QTest::mouseMove(e.box->Client(), {120, 60});
    EXPECT_EQ(r->Left() - e.image->x(), 50) << "no move while the top is negative";
    EXPECT_EQ(r->Top() - e.image->y(), 20);
    EXPECT_EQ(r->Top(), 0) << "the step still scrolled the rectangle into view";
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {120, 60});
    // A resize still works with a negative top.
    e.box->verticalScrollBar()->setValue(30);
    ASSERT_EQ(r->Top(), -10);
    e.Hover({145, 40});
    ASSERT_EQ(r->ResizeZone, rectgeom::Zone::E);
    e.Glide({145, 40}, {160, 40});
    EXPECT_EQ(r->Width(), 110);
    EXPECT_EQ(r->Top() - e.image->y(), 20);
}

TEST(RectRegionScreens, SavesDrawnSelectedAndBandPictures)
{
    const QString folder = qEnvironmentVariable("MAPOLIN_SHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set MAPOLIN_SHOT_DIR to keep the pictures";
    Editor e;
    QPixmap picture(300, 200);
    QPainter painter(&picture);
    for (int i = 0; i < 6; ++i)
        painter.fillRect(i * 50, 0, 50, 200, QColor::fromHsv(i * 60, 160, 230));
    painter.end();
    e.image->setPixmap(picture);
    e.DrawRect({20, 20}, {120, 90});
    EXPECT_TRUE(e.Screen().save(folder + QStringLiteral("/rect-drawn.png")));
    TRectRegion *b = e.DrawRect({140, 60}, {260, 170});
    e.Click({200, 100});
    ASSERT_TRUE(b->Selected);
    EXPECT_TRUE(e.Screen().save(folder + QStringLiteral("/rect-selected.png")));
    DialogAnswer answer;
    e.NewRect();
    QTest::mousePress(e.box->Client(), Qt::LeftButton, {}, {30, 110});
    QTest::mouseMove(e.box->Client(), {200, 150});
    QTest::mouseMove(e.box->Client(), {230, 190});
    EXPECT_TRUE(e.Screen().save(folder + QStringLiteral("/rect-band.png")));
    QTest::mouseRelease(e.box->Client(), Qt::LeftButton, {}, {230, 190});
}
