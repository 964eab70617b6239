// The scroll box moves its children when it scrolls and hides those wholly out of view.
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class ScrollBoxTest : public ::testing::Test {
protected:
    TScrollBox box;
    QWidget *content = nullptr;

    void SetUp() override
    {
        box.resize(200, 150);
        content = new QWidget(box.Client());
        content->setGeometry(0, 0, 1000, 800);
        content->show();
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    // Regions are what the box hides out of view; other children are left alone.
    TRectRegion *Child(QRect geometry)
    {
        auto *child = new TRectRegion(box.Client());
        child->SetBounds(geometry.x(), geometry.y(), geometry.width(), geometry.height());
        child->show();
        QApplication::processEvents();
        return child;
    }
};

TEST_F(ScrollBoxTest, ScrollingMovesChildrenAndShowsOnlyThoseInView)
{
    TRectRegion *near = Child({10, 10, 30, 30});
    TRectRegion *far = Child({600, 500, 30, 30});
    // One hidden by its owner stays hidden; a removed one is forgotten.
    TRectRegion *hidden = Child({610, 510, 30, 30});
    QPointer<TRectRegion> removed = Child({700, 600, 30, 30});
    hidden->hide();
    delete removed;
    EXPECT_TRUE(near->isVisible());
    EXPECT_FALSE(far->isVisible()) << "wholly out of view";
    EXPECT_TRUE(content->isVisible()) << "not a region";
    EXPECT_EQ(box.horizontalScrollBar()->maximum(), 1000 - box.Client()->width())
        << "the range counts every child";

    box.horizontalScrollBar()->setValue(550);
    box.verticalScrollBar()->setValue(450);
    QApplication::processEvents();
    EXPECT_EQ(near->Left(), -540) << "children move with the content";
    EXPECT_EQ(near->Top(), -440);
    EXPECT_EQ(far->pos(), QPoint(50, 50));
    EXPECT_TRUE(far->isVisible());
    EXPECT_FALSE(near->isVisible());
    EXPECT_FALSE(hidden->isVisible());

    box.ScrollToOrigin();
    QApplication::processEvents();
    EXPECT_TRUE(near->isVisible());
    EXPECT_EQ(near->pos(), QPoint(10, 10));

    // ScrollInView moves by the least distance.
    TRectRegion *child = Child({400, 300, 50, 40});
    box.ScrollInView(child);
    QApplication::processEvents();
    EXPECT_EQ(child->x() + child->width(), box.Client()->width());
    EXPECT_EQ(child->y() + child->height(), box.Client()->height());
    EXPECT_TRUE(child->isVisible());
    box.ScrollInView(content);
    EXPECT_EQ(content->pos(), QPoint(0, 0)) << "a child larger than the view shows its top-left";
}

TEST_F(ScrollBoxTest, ArrowsAndTheWheelScrollUsefulStepsAndCtrlWheelIsLeftToTheWindow)
{
    QWidget *below = Child({10, box.Client()->height() + 50, 30, 30});
    QScrollBar *bar = box.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 20);
    const auto notch = [&](Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel({10, 10}, box.viewport()->mapToGlobal(QPointF(10, 10)), {}, {0, -120}, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box.viewport(), &wheel);
        return wheel.isAccepted();
    };
    EXPECT_TRUE(notch(Qt::NoModifier));
    EXPECT_EQ(bar->value(), 20 + 20 * QApplication::wheelScrollLines());
    EXPECT_TRUE(below->isVisible()) << "scrolled into view";
    EXPECT_FALSE(notch(Qt::ControlModifier));
    EXPECT_EQ(bar->value(), 20 + 20 * QApplication::wheelScrollLines());
}

} // namespace
