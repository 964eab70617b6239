// The main window: image, tool bar, menu and bottom bar; it owns the editor controller and the
// map's document commands and hands them its controls.
#pragma once

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
class TChannelField;
class TColourSwatch;
class TEventHook;
class TImageView;
class TMapDocument;
class TMapEditor;
class TPMultiImage;
class TScrollBox;
class TSignalBridge;
class TfrmCheckMap;
class TfrmHotspots;
class TZoomControl;

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
    // Beside the classic menus: Edit and View.
    QAction *Undo1 = nullptr;
    QAction *Redo1 = nullptr;
    QAction *ZoomIn1 = nullptr;
    QAction *ZoomOut1 = nullptr;
    QAction *ActualSize1 = nullptr;
    QAction *FitInWindow1 = nullptr;
    QAction *Hotspots1 = nullptr;
    QAction *CheckMap1 = nullptr;
    // Beside the classic File entries.
    QAction *CompileHTML51 = nullptr;
    QAction *CompileSVG1 = nullptr;
    QAction *PreviewInBrowser1 = nullptr;
    QMenu *RecentMaps1 = nullptr;

    // The editor controller (event channel, tools, selection, model, history).
    TMapEditor &Editor() const { return *editor_; }
    // Compile, save and load.
    TMapDocument &Document() const { return *document_; }
    TZoomControl &Zoom() const { return *zoom_; }

    // Opens a file given on the command line, dropped on the window or chosen from the recent
    // maps: an image as New does (then the default URL dialog), a map file as Open does, after
    // "Save changes?" where New would ask; anything else is refused with a message.
    void OpenFile(const QString &path);

    // Full path of the open image; empty while none is open.
    QString ImageFileName() const;
    bool ClipboardMode() const { return clipboardMode_; }
    QString DocumentDir() const { return documentDir_; }
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
    void btnLoadURLClick();
    void Image1MouseMove();
    void EnableButtons();
    void ClearRegions();
    void GetDefaultURL();
    void FormResize();
    void Hotspots1Click();
    void CheckMap1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // "Save changes?" for an unsaved map; false when the user cancelled or the save failed.
    bool AskToSaveChanges();
    void StartMapWithImage(const QString &path);
    void FillRecentMaps();
    // Reads an image through the reader into Image1, as New and a map file's load do.
    void OpenImageFile(const QString &path);
    void SetImageFileName(const QString &path);
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
    void LayoutClient();
    void UpdateEditMenu();

    TMapEditor *editor_ = nullptr;
    TMapDocument *document_ = nullptr;
    TZoomControl *zoom_ = nullptr;
    QPointer<TfrmHotspots> hotspots_;
    QPointer<TfrmCheckMap> checkMap_;
    TEventHook *appHook_ = nullptr;
    TSignalBridge *signalBridge_ = nullptr;
    QPointer<QWidget> aboutWindow_;
    QString documentDir_;
    bool clipboardMode_ = true;
    int whatsThisContext_ = 0;
    bool shown_ = false;
};
