// The editor controller of the main window: the event-channel dispatcher, drawing tools,
// selection shown in the bottom bar, editing and deleting hotspots.
#include "app/ImageMap.h"

#include "app/ImageView.h"
#include "dialogs/HotspotDialogKit.h"
#include "dialogs/Prompter.h"
#include "output/core/StrToInt.h"
#include "regions/BaseRegionClass.h"
#include "regions/ChannelField.h"
#include "regions/CircleRegionClass.h"
#include "regions/PolyRegionClass.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {
// Deselects a region and repaints it at once if any of it is on screen; one scrolled out of
// view has nothing to repaint and is painted when it comes into view.
void DeselectAndRepaint(TBaseRegion *region)
{
    region->Deselect();
    if (region->geometry().intersects(region->parentWidget()->rect()))
        region->repaint();
}

TBaseRegion *FirstSelected(const TRegionLists::List &list)
{
    for (TBaseRegion *region : list)
        if (region->Selected)
            return region;
    return nullptr;
}
} // namespace

bool TfrmImageMap::InRect(int X, int Y, int Left, int Top, int Width, int Height)
{
    // 64-bit sums: a box at the far end of the integer range must not wrap around.
    return Left < X && qint64(X) < qint64(Left) + Width && Top < Y && qint64(Y) < qint64(Top) + Height;
}

void TfrmImageMap::txtInfoChange()
{
    // Each test reads the channel afresh: a cancel reaction writes "DRAWN", which the later
    // test sees again.
    if (txtInfo->Text() == QLatin1String("CANCELRECT")) {
        Regions.RemoveNewest(Regions.Rects());
        txtInfo->SetText(QStringLiteral("DRAWN"));
    }
    if (txtInfo->Text() == QLatin1String("CANCELCIRCLE")) {
        Regions.RemoveNewest(Regions.Circles());
        txtInfo->SetText(QStringLiteral("DRAWN"));
    }
    if (txtInfo->Text() == QLatin1String("CANCELPOLY")) {
        Regions.RemoveNewest(Regions.Polys());
        txtInfo->SetText(QStringLiteral("DRAWN"));
    }
    if (txtInfo->Text() == QLatin1String("MOVE")) {
        txtXPos->SetInt(Image1->x());
        txtYPos->SetInt(Image1->y());
        SavedFlag = false;
    }
    if (txtInfo->Text() == QLatin1String("DRAWN")) {
        for (QToolButton *tool : {btnRect, btnCircle, btnPoly}) {
            tool->setEnabled(true);
            tool->setChecked(false);
        }
        SavedFlag = false;
    }
    if (txtInfo->Text() == QLatin1String("REPAINT")) {
        EditingDefault = false;
        Regions.ForEach(DeselectAndRepaint);
    }
    if (txtInfo->Text() == QLatin1String("MISS"))
        ForwardMiss();
}

void TfrmImageMap::ForwardMiss()
{
    int x = 0;
    int y = 0;
    try {
        x = txtXPos->ToInt();
        y = txtYPos->ToInt();
    } catch (const EConvertError &error) {
        Prompter().Message(this, IPrompter::Kind::Error, QStringLiteral("Mapolin"),
                           QString::fromStdString(error.what()), QMessageBox::Ok);
        return;
    }
    ForwardMissThrough(Regions.Rects(), x, y, false);
    ForwardMissThrough(Regions.Circles(), x, y, true);
    ForwardMissThrough(Regions.Polys(), x, y, true);
}

void TfrmImageMap::ForwardMissThrough(TRegionLists::List &list, int x, int y, bool shapeTest)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        TBaseRegion *region = list[i];
        DeselectAndRepaint(region);
        const int left = region->x();
        const int top = region->y();
        if (!InRect(x, y, left, top, region->width(), region->height()))
            continue;
        if (shapeTest && !region->HitTest(x - left, y - top))
            continue;
        region->raise();
        region->MouseDown(TMouseButton::mbLeft, 0, x - left, y - top);
        region->MouseUp(TMouseButton::mbLeft, 0, x - left, y - top);
        Image1->lower();
        return;
    }
}

// A tool refused while a drawing is in progress creates nothing.
void TfrmImageMap::btnRectClick()
{
    StartDrawing(DrawingRefused(btnRect) ? nullptr : new TRectRegion(ScrollBox1), Regions.Rects(), btnRect);
}
void TfrmImageMap::btnCircleClick()
{
    StartDrawing(DrawingRefused(btnCircle) ? nullptr : new TCircleRegion(ScrollBox1), Regions.Circles(), btnCircle);
}
void TfrmImageMap::btnPolyClick()
{
    StartDrawing(DrawingRefused(btnPoly) ? nullptr : new TPolyRegion(ScrollBox1), Regions.Polys(), btnPoly);
}

bool TfrmImageMap::DrawingInProgress() const
{
    // Every pointer move over the region being drawn overwrites "DRAWING" with "MOVE", so the
    // channel alone cannot tell; the region that is not drawn yet can.
    for (const TRegionLists::List *list : {&Regions.Rects(), &Regions.Circles(), &Regions.Polys()})
        if (!list->isEmpty() && !list->last()->Drawn)
            return true;
    return false;
}

bool TfrmImageMap::DrawingRefused(QToolButton *button) const
{
    const bool refused = txtInfo->Text() == QLatin1String("DRAWING") || DrawingInProgress() || !Regions.Exist();
    if (refused)
        button->setChecked(false);
    return refused;
}

void TfrmImageMap::StartDrawing(TBaseRegion *region, TRegionLists::List &list, QToolButton *button)
{
    if (!region)
        return;
    region->show();
    region->raise();
    region->setGeometry(Image1->geometry());
    HandOver(region);
    region->raise();
    list.append(region);
    button->setChecked(true);
    txtInfo->SetText(QStringLiteral("DRAWING"));
}

void TfrmImageMap::HandOver(TBaseRegion *region)
{
    region->txtXPos = txtXPos;
    region->txtYPos = txtYPos;
    region->txtInfo = txtInfo;
    region->txtTarget = txtTarget;
    region->cmbURL = cmbURL;
    region->SetPenColor(LineColour());
}

void TfrmImageMap::RaiseIfNeeded(TBaseRegion *region)
{
    // raise() looks the region up among all its siblings: with thousands loaded, skipping the
    // search for the region already on top keeps loading linear.
    const QObjectList &siblings = region->parentWidget()->children();
    if (siblings.isEmpty() || siblings.constLast() != region)
        region->raise();
}

void TfrmImageMap::Image1Click()
{
    txtInfo->SetText(QString());
    txtInfo->SetText(QStringLiteral("REPAINT"));
    txtTarget->setText(DefaultTarget);
    cmbURL->setEditText(DefaultURL);
    EditingDefault = true;
}

void TfrmImageMap::StoreBottomBarText(const QString &text, QString &defaultField, QString TBaseRegion::*field)
{
    // While the default is edited no region is selected, so the circle and polygon steps
    // change nothing then.
    if (EditingDefault) {
        defaultField = text;
    } else if (TBaseRegion *region = FirstSelected(Regions.Rects())) {
        region->*field = text;
    }
    for (TRegionLists::List *list : {&Regions.Circles(), &Regions.Polys()})
        if (TBaseRegion *region = FirstSelected(*list))
            region->*field = text;
}

void TfrmImageMap::URLChange() { StoreBottomBarText(cmbURL->currentText(), DefaultURL, &TBaseRegion::URL); }

void TfrmImageMap::TargetChange() { StoreBottomBarText(txtTarget->text(), DefaultTarget, &TBaseRegion::Target); }

void TfrmImageMap::btnDeleteClick()
{
    for (TRegionLists::List *list : {&Regions.Rects(), &Regions.Circles(), &Regions.Polys()}) {
        if (TBaseRegion *region = FirstSelected(*list)) {
            list->removeOne(region);
            delete region;
        }
    }
    Image1Click();
}

void TfrmImageMap::btnLoadURLClick() { hotspotkit::ChooseHtmlFile(this, DocumentDir, cmbURL); }
