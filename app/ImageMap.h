// The main window: image, tool bar, menu, bottom bar, all editor state and the editor controller.
#pragma once

#include "app/RegionLists.h"
#include "dialogs/GradForm.h"
#include "dialogs/Help.h"

#include <QColor>
#include <QPointer>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QToolButton;
class TBaseRegion;
class TChannelField;
class TColourSwatch;
class TImageView;
class TPMultiImage;
class TScrollBox;
class TSignalBridge;

class TfrmImageMap : public TGradientForm {
    Q_OBJECT
public:
    explicit TfrmImageMap(QWidget *parent = nullptr);
    ~TfrmImageMap() override;

    // Controls, in declaration order.
    TScrollBox *ScrollBox1 = nullptr;
    TImageView *Image1 = nullptr;
    TChannelField *txtXPos = nullptr;
    TChannelField *txtYPos = nullptr;
    TChannelField *txtInfo = nullptr;
    TPMultiImage *PMultiImage1 = nullptr;
    QFrame *Panel3 = nullptr;
    QFrame *pnlBottom = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbURL = nullptr;
    QToolButton *btnLoadURL = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtTarget = nullptr;
    QFrame *Panel1 = nullptr;
    QFrame *pnlTop = nullptr;
    QToolButton *btnNew = nullptr;
    QToolButton *btnLoad = nullptr;
    QToolButton *btnSave = nullptr;
    QToolButton *btnRect = nullptr;
    QToolButton *btnCircle = nullptr;
    QToolButton *btnPoly = nullptr;
    QToolButton *btnDelete = nullptr;
    QToolButton *btnCompile = nullptr;
    QToolButton *btnDone = nullptr;
    TColourSwatch *lblColour = nullptr;
    QFrame *Bevel1 = nullptr;
    QLabel *Label2 = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QAction *New1 = nullptr;
    QAction *Compile1 = nullptr;
    QAction *Load1 = nullptr;
    QAction *Save1 = nullptr;
    QAction *Donw1 = nullptr;
    QAction *Contents1 = nullptr;
    QAction *About1 = nullptr;
    QMenu *mnuWhat = nullptr;
    QAction *WhatsThis1 = nullptr;

    // Editor state, readable by tests and by the later map-file and compiler code.
    bool SavedFlag = true;
    TRegionLists Regions;
    bool EditingDefault = false;
    int WhatsThisContext = 0;
    QString DefaultURL;
    QString DefaultTarget;
    QString MapName, MapAlign, MapAlt, MapBorder, MapVSpace, MapHSpace;
    QString DocumentDir;
    QString ImageFileName;
    bool ClipboardMode = true;
    QPointer<QWidget> AboutWindow;

    QColor LineColour() const;

    // Commands and handlers.
    void btnNewClick();
    void Load1Click();
    void Save1Click();
    void btnCompileClick();
    void Compile1Click();
    void btnDoneClick();
    void About1Click();
    void btnEmailClick();
    void Contents1Click();
    void lblColourClick();
    void WhatsThis1Click();
    void btnRectClick();
    void btnCircleClick();
    void btnPolyClick();
    void btnDeleteClick();
    void btnLoadURLClick();
    void Image1Click();
    void Image1MouseMove();
    void URLChange();
    void TargetChange();
    void txtInfoChange();
    void EnableButtons();
    void ClearRegions();
    void GetDefaultURL();
    void FormResize();

    static bool InRect(int X, int Y, int Left, int Top, int Width, int Height);


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class TSaveResult { Saved, Cancelled, Failed };
    TSaveResult SaveMap();
    // Reads an image through the reader into Image1, as New and a map file's load do.
    void OpenImageFile(const QString &path);
    // Gives a region the channel, the bottom bar and the line colour.
    void HandOver(TBaseRegion *region);
    // Brings a region to the front unless it is there already, which a new one is.
    static void RaiseIfNeeded(TBaseRegion *region);
    void CreateControls();
    QToolButton *AddToolButton(const char *name, const QString &hint, const char *glyph, int x, int tag);
    void CreateMenu();
    void FormCreate();
    void FormShow();
    void FormClose();
    void SetUpCursors();
    void AppMessage(QObject *watched, QEvent *event);
    bool AppHelp(Help::Command command, int context);
    void btnNewMouseDown(QWidget *control, QMouseEvent *event);
    // The right-click help menu for a control with a help tag.
    void AddWhatsThis(QWidget *control, int tag);
    void StartDrawing(TBaseRegion *region, TRegionLists::List &list, QToolButton *button);
    void StoreBottomBarText(const QString &text, QString &defaultField, QString TBaseRegion::*field);
    bool DrawingInProgress() const;
    bool DrawingRefused(QToolButton *button) const;
    void ForwardMiss();
    void ForwardMissThrough(TRegionLists::List &list, int x, int y, bool shapeTest);
    void LayoutClient();

    TSignalBridge *signalBridge_ = nullptr;
    bool shown_ = false;
};
