#include "app/MapEditor.h"

#include "app/ImageView.h"
#include "dialogs/Prompter.h"
#include "output/core/StrToInt.h"
#include "regions/ChannelField.h"
#include "regions/ChannelWords.h"
#include "regions/CircleRegionClass.h"
#include "regions/PolyRegionClass.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

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

// raise() looks the region up among all its siblings: with thousands of them, skipping the
// search for the region already on top keeps loading linear.
void RaiseIfNeeded(TBaseRegion *region)
{
    const QObjectList &siblings = region->parentWidget()->children();
    if (siblings.isEmpty() || siblings.constLast() != region)
        region->raise();
}

std::string Utf8(const QString &text) { return text.toStdString(); }
QString FromUtf8(const std::string &bytes) { return QString::fromStdString(bytes); }

QString KindName(THotspotKind kind)
{
    switch (kind) {
    case THotspotKind::Rect: return QStringLiteral("Rectangle");
    case THotspotKind::Circle: return QStringLiteral("Circle");
    case THotspotKind::Poly: return QStringLiteral("Polygon");
    }
    return {};
}

// What a drag or a resize did to a hotspot, as the Edit menu names it.
std::string GestureName(THotspotKind kind, const THotspotShape &before, const THotspotShape &after)
{
    THotspotShape moved = before;
    moved.Left = after.Left;
    moved.Top = after.Top;
    if (moved == after)
        return "Move";
    return kind == THotspotKind::Poly ? "Move Point" : "Resize";
}

std::string MergeKey(const char *what, THotspotRef ref)
{
    return std::string(what) + ":" + std::to_string(static_cast<int>(ref.Kind)) + ":" + std::to_string(ref.Index);
}

} // namespace

TMapEditor::TMapEditor(const TParts &parts, QObject *parent)
    : QObject(parent), parts_(parts),
      host_(*parts.txtInfo, *parts.txtXPos, *parts.txtYPos, *parts.txtTarget, *parts.cmbURL)
{
    connect(parts_.txtInfo, &TChannelField::Changed, this, &TMapEditor::txtInfoChange);
    connect(parts_.cmbURL, &QComboBox::editTextChanged, this, &TMapEditor::URLChange);
    connect(parts_.txtTarget, &QLineEdit::textChanged, this, &TMapEditor::TargetChange);
    connect(parts_.Image1, &TImageView::Clicked, this, &TMapEditor::Image1Click);
}

TMapEditor::~TMapEditor()
{
    if (regions_.Exist())
        regions_.Clear();
}

bool TMapEditor::InRect(int X, int Y, int Left, int Top, int Width, int Height)
{
    // 64-bit sums: a box at the far end of the integer range must not wrap around.
    return Left < X && qint64(X) < qint64(Left) + Width && Top < Y && qint64(Y) < qint64(Top) + Height;
}

QPoint TMapEditor::ImageOrigin() const { return parts_.ScrollBox1->ImageOrigin(); }

void TMapEditor::txtInfoChange()
{
    const TChannelField &info = *parts_.txtInfo;
    // Each test reads the channel afresh: a cancel reaction writes "DRAWN", which the later
    // test sees again.
    if (info.Text() == ChannelWord::CancelRect) {
        regions_.RemoveNewest(regions_.Rects());
        host_.Report(ChannelWord::Drawn);
    }
    if (info.Text() == ChannelWord::CancelCircle) {
        regions_.RemoveNewest(regions_.Circles());
        host_.Report(ChannelWord::Drawn);
    }
    if (info.Text() == ChannelWord::CancelPoly) {
        regions_.RemoveNewest(regions_.Polys());
        host_.Report(ChannelWord::Drawn);
    }
    if (info.Text() == ChannelWord::Move) {
        const QPoint origin = ImageOrigin();
        parts_.txtXPos->SetInt(origin.x());
        parts_.txtYPos->SetInt(origin.y());
        saved_ = false;
    }
    if (info.Text() == ChannelWord::Drawn) {
        for (QToolButton *tool : {parts_.btnRect, parts_.btnCircle, parts_.btnPoly}) {
            tool->setEnabled(true);
            tool->setChecked(false);
        }
        saved_ = false;
        RecordDrawn();
    }
    if (info.Text() == ChannelWord::Repaint) {
        editingDefault_ = false;
        regions_.ForEach(DeselectAndRepaint);
        history_.Seal();
    }
    if (info.Text() == ChannelWord::Miss)
        ForwardMiss();
}

void TMapEditor::ForwardMiss()
{
    int x = 0;
    int y = 0;
    try {
        x = parts_.txtXPos->ToInt();
        y = parts_.txtYPos->ToInt();
    } catch (const EConvertError &error) {
        Prompter().Message(parts_.Window, IPrompter::Kind::Error, QStringLiteral("Mapolin"),
                           QString::fromStdString(error.what()), QMessageBox::Ok);
        return;
    }
    ForwardMissThrough(regions_.Rects(), x, y, false);
    ForwardMissThrough(regions_.Circles(), x, y, true);
    ForwardMissThrough(regions_.Polys(), x, y, true);
}

void TMapEditor::ForwardMissThrough(TRegionLists::List &list, int x, int y, bool shapeTest)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        TBaseRegion *region = list[i];
        DeselectAndRepaint(region);
        const int left = region->Left();
        const int top = region->Top();
        if (!InRect(x, y, left, top, region->Width(), region->Height()))
            continue;
        if (shapeTest && !region->HitTest(x - left, y - top))
            continue;
        Touch(region);
        region->raise();
        region->MouseDown(TMouseButton::mbLeft, 0, x - left, y - top);
        region->MouseUp(TMouseButton::mbLeft, 0, x - left, y - top);
        parts_.Image1->lower();
        return;
    }
}

// A tool refused while a drawing is in progress creates nothing.
void TMapEditor::btnRectClick()
{
    StartDrawing(DrawingRefused(parts_.btnRect) ? nullptr : new TRectRegion(parts_.ScrollBox1), regions_.Rects(),
                 parts_.btnRect);
}

void TMapEditor::btnCircleClick()
{
    StartDrawing(DrawingRefused(parts_.btnCircle) ? nullptr : new TCircleRegion(parts_.ScrollBox1),
                 regions_.Circles(), parts_.btnCircle);
}

void TMapEditor::btnPolyClick()
{
    StartDrawing(DrawingRefused(parts_.btnPoly) ? nullptr : new TPolyRegion(parts_.ScrollBox1), regions_.Polys(),
                 parts_.btnPoly);
}

bool TMapEditor::DrawingInProgress() const
{
    // Every pointer move over the region being drawn overwrites "DRAWING" with "MOVE", so the
    // channel alone cannot tell; the region that is not drawn yet can.
    for (const TRegionLists::List *list : {&regions_.Rects(), &regions_.Circles(), &regions_.Polys()})
        if (!list->isEmpty() && !list->last()->Drawn)
            return true;
    return false;
}

bool TMapEditor::DrawingRefused(QToolButton *button) const
{
    const bool refused =
        parts_.txtInfo->Text() == ChannelWord::Drawing || DrawingInProgress() || !regions_.Exist();
    if (refused)
        button->setChecked(false);
    return refused;
}

void TMapEditor::StartDrawing(TBaseRegion *region, TRegionLists::List &list, QToolButton *button)
{
    if (!region)
        return;
    region->show();
    region->raise();
    const QPoint origin = ImageOrigin();
    const QSize image = parts_.Image1->ImageSize();
    region->SetBounds(origin.x(), origin.y(), image.width(), image.height());
    HandOver(region);
    region->raise();
    list.append(region);
    button->setChecked(true);
    host_.Report(ChannelWord::Drawing);
}

void TMapEditor::HandOver(TBaseRegion *region)
{
    region->Host = &host_;
    region->SetPenColor(parts_.LineColour());
}

void TMapEditor::Image1Click()
{
    host_.Emit(ChannelWord::Repaint);
    parts_.txtTarget->setText(DefaultTarget());
    parts_.cmbURL->setEditText(DefaultURL());
    editingDefault_ = true;
    emit SelectionChanged();
}

void TMapEditor::StoreBottomBarText(const QString &text, bool url)
{
    if (replaying_)
        return;
    QString TBaseRegion::*field = url ? &TBaseRegion::URL : &TBaseRegion::Target;
    std::vector<TBaseRegion *> edited;
    // While the default is edited no region is selected, so the circle and polygon steps
    // change nothing then.
    if (editingDefault_) {
        TChange change;
        change.Kind = TChange::TKind::Default;
        change.DefaultURLBefore = change.DefaultURLAfter = model_.DefaultURL;
        change.DefaultTargetBefore = change.DefaultTargetAfter = model_.DefaultTarget;
        (url ? change.DefaultURLAfter : change.DefaultTargetAfter) = Utf8(text);
        if (change.DefaultURLAfter != change.DefaultURLBefore || change.DefaultTargetAfter != change.DefaultTargetBefore) {
            const TSelection selection = Selection();
            ApplyChange(change);
            Push({url ? "Edit Default URL" : "Edit Default Target", {change}, selection, selection,
                  url ? "default-url" : "default-target"});
        }
    } else if (TBaseRegion *region = FirstSelected(regions_.Rects())) {
        region->*field = text;
        edited.push_back(region);
    }
    for (TRegionLists::List *list : {&regions_.Circles(), &regions_.Polys()})
        if (TBaseRegion *region = FirstSelected(*list)) {
            region->*field = text;
            edited.push_back(region);
        }
    for (TBaseRegion *region : edited) {
        const THotspotRef ref = regions_.RefOf(region);
        if (!region->Drawn || !model_.Contains(ref))
            continue;
        TMapRegion after = model_.At(ref);
        (url ? after.URL : after.Target) = Utf8(text);
        if (after == model_.At(ref))
            continue;
        const TSelection selection = Selection();
        TChange change{TChange::TKind::Replace, ref, model_.At(ref), std::move(after), {}, {}, {}, {}};
        model_.Replace(ref, change.After);
        Push({url ? "Edit URL" : "Edit Target", {std::move(change)}, selection, selection,
              MergeKey(url ? "url" : "target", ref)});
    }
}

void TMapEditor::URLChange() { StoreBottomBarText(parts_.cmbURL->currentText(), true); }

void TMapEditor::TargetChange() { StoreBottomBarText(parts_.txtTarget->text(), false); }

void TMapEditor::btnDeleteClick()
{
    Flush();
    const TSelection before = Selection();
    std::vector<TChange> removed;
    for (THotspotKind kind : {THotspotKind::Rect, THotspotKind::Circle, THotspotKind::Poly}) {
        TRegionLists::List &list = regions_.Of(kind);
        if (TBaseRegion *region = FirstSelected(list)) {
            const THotspotRef ref{kind, static_cast<int>(list.indexOf(region))};
            list.removeOne(region);
            delete region;
            if (model_.Contains(ref))
                removed.push_back({TChange::TKind::Remove, ref, model_.Remove(ref), {}, {}, {}, {}, {}});
        }
    }
    Image1Click();
    if (!removed.empty())
        Push({"Delete", removed, before, Selection(), {}});
}

void TMapEditor::ClearRegions()
{
    regions_.Clear();
    model_.ClearHotspots();
    history_.Clear();
    touched_.clear();
    selected_ = nullptr;
    emit MapChanged();
}

void TMapEditor::CreateLists() { regions_.Create(); }

QString TMapEditor::DefaultURL() const { return FromUtf8(model_.DefaultURL); }
QString TMapEditor::DefaultTarget() const { return FromUtf8(model_.DefaultTarget); }

void TMapEditor::SetDefault(const QString &url, const QString &target)
{
    model_.DefaultURL = Utf8(url);
    model_.DefaultTarget = Utf8(target);
    emit MapChanged();
}

void TMapEditor::Recolour(const QColor &colour)
{
    regions_.ForEach([&](TBaseRegion *region) {
        region->SetPenColor(colour);
        region->repaint();
    });
}

TBaseRegion *TMapEditor::CreateRegion(THotspotKind kind, const TMapRegion &record, int index)
{
    TBaseRegion *region = nullptr;
    switch (kind) {
    case THotspotKind::Rect: region = new TRectRegion(parts_.ScrollBox1); break;
    case THotspotKind::Circle: region = new TCircleRegion(parts_.ScrollBox1); break;
    case THotspotKind::Poly: region = new TPolyRegion(parts_.ScrollBox1); break;
    }
    // Placed before it is shown: a shown widget's geometry change would post events for Qt to
    // merge, whose search through the posted events makes loading quadratic.
    region->SetShape(record.Shape, ImageOrigin());
    region->show();
    RaiseIfNeeded(region);
    region->URL = FromUtf8(record.URL);
    region->Target = FromUtf8(record.Target);
    region->StatusText = FromUtf8(record.Alt);
    HandOver(region);
    region->SetDrawn();
    region->ImageWidth = parts_.Image1->ImageSize().width();
    region->ImageHeight = parts_.Image1->ImageSize().height();
    RaiseIfNeeded(region);
    regions_.Of(kind).insert(index, region);
    return region;
}

void TMapEditor::AddLoaded(THotspotKind kind, const TMapRegion &record)
{
    TMapRegion kept = record;
    kept.Line = 0;
    const int index = static_cast<int>(model_.List(kind).size());
    CreateRegion(kind, kept, index);
    model_.Insert({kind, index}, std::move(kept));
}

TMapRegion TMapEditor::RecordOf(const TBaseRegion *region, THotspotRef ref) const
{
    TMapRegion record;
    record.Shape = region->Shape(ImageOrigin());
    record.URL = Utf8(region->URL);
    record.Target = Utf8(region->Target);
    record.Alt = Utf8(region->StatusText);
    // The title has no place on screen: it stays as the map had it.
    if (model_.Contains(ref))
        record.Title = model_.At(ref).Title;
    return record;
}

void TMapEditor::RecordDrawn()
{
    for (THotspotKind kind : {THotspotKind::Rect, THotspotKind::Circle, THotspotKind::Poly}) {
        const TRegionLists::List &list = regions_.Of(kind);
        const int index = static_cast<int>(model_.List(kind).size());
        if (list.size() != index + 1 || !list.last()->Drawn || list.last()->Cancelled())
            continue;
        const TSelection selection = Selection();
        TChange change{TChange::TKind::Insert, {kind, index}, {}, RecordOf(list.last(), {}), {}, {}, {}, {}};
        Apply(model_, change);
        Push({("Draw " + KindName(kind)).toStdString(), {change}, selection, selection, {}});
    }
}

void TMapEditor::Touch(TBaseRegion *region)
{
    if (std::find(touched_.begin(), touched_.end(), region) == touched_.end())
        touched_.push_back(region);
}

void TMapEditor::NoteMouseEvent(QObject *watched, const QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
        return;
    auto *region = qobject_cast<TBaseRegion *>(watched);
    if (!region || !parts_.ScrollBox1->Holds(region))
        return;
    if (type != QEvent::MouseButtonRelease) {
        Touch(region);
        return;
    }
    // The region handles the release after this look: the gesture is taken in once it has.
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            flushQueued_ = false;
            Flush();
        });
    }
}

void TMapEditor::Flush()
{
    std::vector<TChange> changes;
    std::vector<QPointer<TBaseRegion>> dragging;
    std::string name;
    for (const QPointer<TBaseRegion> &pointer : touched_) {
        TBaseRegion *region = pointer.data();
        if (!region)
            continue;
        if (region->Selected)
            selected_ = region;
        // A drag in progress is taken in when it ends.
        if (region->Dragging) {
            dragging.push_back(pointer);
            continue;
        }
        if (!region->Drawn || region->Cancelled())
            continue;
        const THotspotRef ref = regions_.RefOf(region);
        if (!model_.Contains(ref) || regions_.Of(ref.Kind).size() != qsizetype(model_.List(ref.Kind).size()))
            continue;
        TMapRegion after = RecordOf(region, ref);
        if (after == model_.At(ref))
            continue;
        if (name.empty())
            name = GestureName(ref.Kind, model_.At(ref).Shape, after.Shape);
        changes.push_back({TChange::TKind::Replace, ref, model_.At(ref), std::move(after), {}, {}, {}, {}});
    }
    touched_ = std::move(dragging);
    const TSelection selection = Selection();
    if (!changes.empty()) {
        for (const TChange &change : changes)
            Apply(model_, change);
        Push({name, std::move(changes), selection, selection, {}});
    }
    if (selection != reported_) {
        reported_ = selection;
        emit SelectionChanged();
    }
}

void TMapEditor::Push(TStep step)
{
    history_.Push(std::move(step));
    emit MapChanged();
}

const TMapModel &TMapEditor::Model()
{
    Flush();
    // Whatever the regions hold that the model missed is taken in too, so that compile and save
    // write what is on screen.
    std::vector<TChange> changes;
    for (THotspotKind kind : {THotspotKind::Rect, THotspotKind::Circle, THotspotKind::Poly}) {
        const TRegionLists::List &list = regions_.Of(kind);
        const int known = static_cast<int>(std::min<std::size_t>(std::size_t(list.size()), model_.List(kind).size()));
        for (int i = 0; i < known; ++i) {
            if (!list[i]->Drawn || list[i]->Cancelled())
                continue;
            TMapRegion record = RecordOf(list[i], {kind, i});
            if (record != model_.At({kind, i}))
                changes.push_back({TChange::TKind::Replace, {kind, i}, model_.At({kind, i}), std::move(record), {}, {}, {}, {}});
        }
    }
    if (!changes.empty()) {
        const TSelection selection = Selection();
        for (const TChange &change : changes)
            Apply(model_, change);
        Push({"Edit", std::move(changes), selection, selection, {}});
    }
    return model_;
}

TBaseRegion *TMapEditor::SelectedRegion()
{
    for (auto it = touched_.rbegin(); it != touched_.rend(); ++it)
        if (*it && (*it)->Selected)
            selected_ = *it;
    return selected_ && selected_->Selected ? selected_.data() : nullptr;
}

TSelection TMapEditor::Selection()
{
    if (editingDefault_)
        return {TSelection::TWhat::Default, {}};
    TBaseRegion *region = SelectedRegion();
    return region ? TSelection{TSelection::TWhat::Hotspot, regions_.RefOf(region)} : TSelection{};
}

bool TMapEditor::CanUndo() const { return history_.CanUndo(); }
bool TMapEditor::CanRedo() const { return history_.CanRedo(); }
QString TMapEditor::UndoName() const { return CanUndo() ? FromUtf8(history_.UndoStep().Name) : QString(); }
QString TMapEditor::RedoName() const { return CanRedo() ? FromUtf8(history_.RedoStep().Name) : QString(); }

// A drawing or a drag in progress has nothing to give back yet: undo and redo wait for its end.
bool TMapEditor::EditInProgress() const
{
    return DrawingInProgress() || std::any_of(touched_.begin(), touched_.end(), [](const auto &r) { return r && r->Dragging; });
}

void TMapEditor::Undo()
{
    if (EditInProgress())
        return;
    Flush();
    if (!history_.CanUndo())
        return;
    const TStep step = history_.Undo();
    for (auto it = step.Changes.rbegin(); it != step.Changes.rend(); ++it)
        ApplyChange(Reversed(*it));
    Restore(step.Before);
    saved_ = false;
    emit MapChanged();
}

void TMapEditor::Redo()
{
    if (EditInProgress())
        return;
    Flush();
    if (!history_.CanRedo())
        return;
    const TStep step = history_.Redo();
    for (const TChange &change : step.Changes)
        ApplyChange(change);
    Restore(step.After);
    saved_ = false;
    emit MapChanged();
}

void TMapEditor::ApplyChange(const TChange &change)
{
    switch (change.Kind) {
    case TChange::TKind::Insert:
        CreateRegion(change.Ref.Kind, change.After, change.Ref.Index);
        break;
    case TChange::TKind::Remove: {
        TBaseRegion *region = regions_.At(change.Ref);
        regions_.Of(change.Ref.Kind).removeAt(change.Ref.Index);
        delete region;
        break;
    }
    case TChange::TKind::Replace: {
        TBaseRegion *region = regions_.At(change.Ref);
        region->SetShape(change.After.Shape, ImageOrigin());
        region->URL = FromUtf8(change.After.URL);
        region->Target = FromUtf8(change.After.Target);
        region->StatusText = FromUtf8(change.After.Alt);
        region->update();
        break;
    }
    case TChange::TKind::Default:
        break;
    }
    Apply(model_, change);
    if (change.Kind == TChange::TKind::Default && editingDefault_) {
        replaying_ = true;
        parts_.txtTarget->setText(DefaultTarget());
        parts_.cmbURL->setEditText(DefaultURL());
        replaying_ = false;
    }
}

void TMapEditor::DeselectCurrent()
{
    if (TBaseRegion *region = SelectedRegion())
        DeselectAndRepaint(region);
    selected_ = nullptr;
}

void TMapEditor::Restore(const TSelection &selection)
{
    TBaseRegion *const chosen = selection.What == TSelection::TWhat::Hotspot ? regions_.At(selection.Ref) : nullptr;
    // The region that stays selected keeps its look and its place above the others; only a
    // grip's cursor goes, as the grip has moved.
    if (chosen && chosen == SelectedRegion())
        chosen->unsetCursor();
    else
        DeselectCurrent();
    selected_ = nullptr;
    editingDefault_ = false;
    replaying_ = true;
    if (chosen) {
        chosen->ShowSelected();
        selected_ = chosen;
        chosen->ScrollIntoView();
    } else if (selection.What == TSelection::TWhat::Default) {
        parts_.txtTarget->setText(DefaultTarget());
        parts_.cmbURL->setEditText(DefaultURL());
        editingDefault_ = true;
    }
    replaying_ = false;
    history_.Seal();
    reported_ = selection;
    emit SelectionChanged();
}

void TMapEditor::Select(THotspotRef ref)
{
    Flush();
    if (!model_.Contains(ref) || !regions_.At(ref))
        return;
    Restore({TSelection::TWhat::Hotspot, ref});
}

void TMapEditor::SelectStep(int delta)
{
    Flush();
    const int count = model_.Count();
    if (count == 0 || DrawingInProgress())
        return;
    const TSelection selection = Selection();
    const int at = selection.What == TSelection::TWhat::Hotspot ? model_.PositionOf(selection.Ref) : -1;
    const int next = at < 0 ? (delta > 0 ? 0 : count - 1) : ((at + delta) % count + count) % count;
    Select(model_.RefAt(next));
}

void TMapEditor::Nudge(int dx, int dy)
{
    Flush();
    const TSelection selection = Selection();
    if (selection.What != TSelection::TWhat::Hotspot || DrawingInProgress())
        return;
    const TMapRegion &record = model_.At(selection.Ref);
    const QSize image = parts_.Image1->ImageSize();
    const THotspotShape &shape = record.Shape;
    const regiongeom::Box moved = regiongeom::MoveWithinImage({shape.Left, shape.Top, shape.Width, shape.Height}, dx,
                                                              dy, {0, 0, image.width(), image.height()});
    TMapRegion after = record;
    after.Shape.Left = moved.left;
    after.Shape.Top = moved.top;
    if (after == record)
        return;
    const TChange change{TChange::TKind::Replace, selection.Ref, record, after, {}, {}, {}, {}};
    ApplyChange(change);
    saved_ = false;
    Push({"Move", {change}, selection, selection, {}});
    regions_.At(selection.Ref)->ScrollIntoView();
}

void TMapEditor::Duplicate()
{
    Flush();
    const TSelection before = Selection();
    if (before.What != TSelection::TWhat::Hotspot || DrawingInProgress())
        return;
    TMapRegion copy = model_.At(before.Ref);
    const QSize image = parts_.Image1->ImageSize();
    // Ten pixels right and down, or as far as the image allows.
    copy.Shape.Left = std::max(0, std::min(copy.Shape.Left + 10, image.width() - copy.Shape.Width));
    copy.Shape.Top = std::max(0, std::min(copy.Shape.Top + 10, image.height() - copy.Shape.Height));
    const THotspotRef ref{before.Ref.Kind, static_cast<int>(model_.List(before.Ref.Kind).size())};
    const TChange change{TChange::TKind::Insert, ref, {}, copy, {}, {}, {}, {}};
    ApplyChange(change);
    Push({"Duplicate", {change}, before, {TSelection::TWhat::Hotspot, ref}, {}});
    saved_ = false;
    Restore({TSelection::TWhat::Hotspot, ref});
}

void TMapEditor::Edit(THotspotRef ref, const TMapRegion &record, const QString &name)
{
    Flush();
    if (!model_.Contains(ref) || record == model_.At(ref))
        return;
    const TChange change{TChange::TKind::Replace, ref, model_.At(ref), record, {}, {}, {}, {}};
    const TSelection selection = Selection();
    ApplyChange(change);
    saved_ = false;
    Push({Utf8(name), {change}, selection, selection, {}});
}
