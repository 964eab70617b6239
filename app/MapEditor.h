// The editor controller: the event channel's dispatcher, the drawing tools, the selection shown in
// the bottom bar, editing and deleting hotspots; and the map model and editing history, which
// follow every change the regions make.
#pragma once

#include "app/RegionLists.h"
#include "app/core/History.h"
#include "app/core/MapModel.h"
#include "regions/ChannelHost.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QComboBox;
class QEvent;
class QLineEdit;
class QToolButton;
class TBaseRegion;
class TChannelField;
class TImageView;
class TScrollBox;

class TMapEditor : public QObject {
    Q_OBJECT
public:
    // The window's controls the controller drives.
    struct TParts {
        QWidget *Window = nullptr;
        TScrollBox *ScrollBox1 = nullptr;
        TImageView *Image1 = nullptr;
        TChannelField *txtInfo = nullptr;
        TChannelField *txtXPos = nullptr;
        TChannelField *txtYPos = nullptr;
        QComboBox *cmbURL = nullptr;
        QLineEdit *txtTarget = nullptr;
        QToolButton *btnRect = nullptr;
        QToolButton *btnCircle = nullptr;
        QToolButton *btnPoly = nullptr;
        std::function<QColor()> LineColour;
    };

    explicit TMapEditor(const TParts &parts, QObject *parent = nullptr);
    ~TMapEditor() override;

    // The dispatcher: runs on every delivered write to txtInfo.
    void txtInfoChange();
    void btnRectClick();
    void btnCircleClick();
    void btnPolyClick();
    // The bare image was clicked: the bottom bar shows and then edits the default.
    void Image1Click();
    void URLChange();
    void TargetChange();
    void btnDeleteClick();
    static bool InRect(int X, int Y, int Left, int Top, int Width, int Height);

    // False once the map has unsaved changes.
    bool SavedFlag() const { return saved_; }
    void SetSavedFlag(bool saved) { saved_ = saved; }
    bool EditingDefault() const { return editingDefault_; }
    TRegionLists &Regions() { return regions_; }
    const TRegionLists &Regions() const { return regions_; }
    // The map as it stands, every change the regions made taken in first.
    const TMapModel &Model();
    // The model as last taken in, for views that follow MapChanged.
    const TMapModel &Map() const { return model_; }
    TMapModel &ModelForCommands() { return model_; }
    QString DefaultURL() const;
    QString DefaultTarget() const;
    void SetDefault(const QString &url, const QString &target);
    // Whether a region is being drawn (the channel alone cannot tell: moves overwrite "DRAWING").
    bool DrawingInProgress() const;

    // Destroys every region and the lists; the history goes with them.
    void ClearRegions();
    // New, empty lists for a new map.
    void CreateLists();
    // A region for a map-file record, appended to its list as loading does.
    void AddLoaded(THotspotKind kind, const TMapRegion &record);
    // Gives every region the new line colour and repaints it.
    void Recolour(const QColor &colour);

    // Takes what the regions changed since the last look into the model, as one step.
    void Flush();
    // The application-wide hook hands every mouse event here: a press marks a region as one that
    // may change, a release ends the gesture.
    void NoteMouseEvent(QObject *watched, const QEvent *event);

    bool CanUndo() const;
    bool CanRedo() const;
    QString UndoName() const;
    QString RedoName() const;
    // Refused while a drawing or a drag is in progress.
    void Undo();
    void Redo();

    TSelection Selection();
    // Selects a hotspot (keyboard, hotspot list, checker) and scrolls it into view.
    void Select(THotspotRef ref);
    // Tab and Shift+Tab: the next or previous hotspot in map order.
    void SelectStep(int delta);
    // The arrow keys: moves the selected hotspot, kept inside the image as a drag is.
    void Nudge(int dx, int dy);
    // A copy of the selected hotspot 10 pixels right and down, within the image, at the end of its
    // list; the copy is selected.
    void Duplicate();
    // Replaces a hotspot's record (the hotspot list's edits); one step named name.
    void Edit(THotspotRef ref, const TMapRegion &record, const QString &name);
    // The image's origin in the parent frame.
    QPoint ImageOrigin() const;

signals:
    // The model changed: hotspots, texts or the default.
    void MapChanged();
    void SelectionChanged();

private:
    bool EditInProgress() const;
    void StartDrawing(TBaseRegion *region, TRegionLists::List &list, QToolButton *button);
    bool DrawingRefused(QToolButton *button) const;
    void ForwardMiss();
    void ForwardMissThrough(TRegionLists::List &list, int x, int y, bool shapeTest);
    void StoreBottomBarText(const QString &text, bool url);
    void HandOver(TBaseRegion *region);
    TBaseRegion *CreateRegion(THotspotKind kind, const TMapRegion &record, int index);
    TMapRegion RecordOf(const TBaseRegion *region, THotspotRef ref) const;
    void RecordDrawn();
    // Applies a change to the model and to the regions on screen.
    void ApplyChange(const TChange &change);
    void Push(TStep step);
    void Restore(const TSelection &selection);
    void DeselectCurrent();
    // The selected region as far as the regions pressed since the last look tell, or none.
    TBaseRegion *SelectedRegion();
    void Touch(TBaseRegion *region);

    TParts parts_;
    TChannelHost host_;
    TRegionLists regions_;
    TMapModel model_;
    THistory history_;
    bool saved_ = true;
    bool editingDefault_ = false;
    // Regions pressed since the last flush: only they can have changed.
    std::vector<QPointer<TBaseRegion>> touched_;
    // The selected region as last seen, and the selection last announced.
    QPointer<TBaseRegion> selected_;
    TSelection reported_;
    // While undo, redo or a selection writes the bottom bar, its change handlers store nothing.
    bool replaying_ = false;
    bool flushQueued_ = false;
};
