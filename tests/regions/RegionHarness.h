// The main window's side of a region in miniature, for the region tests: an image in a scroll box,
// the event channel with a dispatcher that answers "MOVE", the bottom bar, and the hotspot dialog
// answered by the test.
#pragma once

#define QTEST_QPA_MOUSE_HANDLING
#include "dialogs/AddHotspotForm.h"
#include "regions/ChannelField.h"
#include "regions/ChannelHost.h"
#include "regions/CursorTable.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"
#include "resources/Art.h"
#include "support/Cursors.h"
#include "support/FakePrompter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace regiontest {

inline const QColor ImageColour(0x20, 0x80, 0xC0);
inline const QColor InvertedImageColour(0xFF - 0x20, 0xFF - 0x80, 0xFF - 0xC0); // the rubber band
inline const QColor LineColour(Qt::red);

// Every hotspot dialog is answered with OK.
struct Editor {
    explicit Editor(QSize imageSize = {300, 200})
    {
        for (int number = AppCursor::crMoveRegion; number <= AppCursor::crResizePoly; ++number)
            AppCursor::Register(number, Art::Cursor(number));
        prompter.modal = [this](QWidget &form) {
            auto &dialog = dynamic_cast<TfrmHotSpot &>(form);
            ++dialogs;
            dialog.cmbURL->setCurrentText(QStringLiteral("a.html"));
            dialog.btnOk->click();
        };
        window.resize(400, 300);
        box->setGeometry(0, 0, 400, 300);
        QPixmap picture(imageSize);
        picture.fill(ImageColour);
        image->setPixmap(picture);
        image->setGeometry(QRect(QPoint(0, 0), imageSize));
        cmbURL.setEditable(true);
        QObject::connect(&txtInfo, &TChannelField::Changed, &txtInfo, [this] { Dispatch(); });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        AppCursor::Set(AppCursor::crDefault);
    }

    void Dispatch()
    {
        words << txtInfo.Text();
        if (txtInfo.Text() == QLatin1String("MOVE")) {
            txtXPos.SetText(badAnswer.isEmpty() ? QString::number(image->x()) : badAnswer);
            txtYPos.SetInt(image->y());
        }
    }

    // What a drawing tool does: a region spanning the image, then "DRAWING".
    template <typename Region> Region *New()
    {
        auto *r = new Region(box);
        r->show();
        r->SetBounds(image->x(), image->y(), image->width(), image->height());
        r->Host = &host;
        r->SetPenColor(LineColour);
        r->raise();
        txtInfo.SetText(QStringLiteral("DRAWING"));
        return r;
    }

    // Client-area points from here on.
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(box->Client(), b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(box->Client(), b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(box->Client(), p); }
    void Click(QPoint p) { QTest::mouseClick(box->Client(), Qt::LeftButton, {}, p); }
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
        TRectRegion *r = New<TRectRegion>();
        Glide(from, to);
        return r;
    }
    // Clicks where no shape is: the word sent before "MISS", whose point must be the click's.
    QString Miss(QPoint p)
    {
        words.clear();
        Click(p);
        EXPECT_EQ(QPoint(txtXPos.Text().toInt(), txtYPos.Text().toInt()), p);
        const qsizetype miss = words.indexOf(QStringLiteral("MISS"));
        return miss > 0 ? words[miss - 1] : QStringLiteral("(no MISS)");
    }
    QColor PixelAt(QPoint p)
    {
        return window.screen()->grabWindow(window.winId()).toImage().pixelColor(box->Client()->mapTo(&window, p));
    }

    FakePrompter prompter;
    // Declared before the window so the regions never outlive what they write to.
    TChannelField txtXPos{QStringLiteral("txtXPos")}, txtYPos{QStringLiteral("txtYPos")},
        txtInfo{QStringLiteral("txtInfo")};
    QLineEdit txtTarget;
    QComboBox cmbURL;
    TChannelHost host{txtInfo, txtXPos, txtYPos, txtTarget, cmbURL};
    QWidget window;
    TScrollBox *box = new TScrollBox(&window);
    QLabel *image = new QLabel(box->Client());
    QStringList words;
    QString badAnswer;
    int dialogs = 0;
};

inline QRect BoxOf(const TBaseRegion *r) { return {r->Left(), r->Top(), r->Width(), r->Height()}; }

} // namespace regiontest
