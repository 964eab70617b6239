#include "app/ImageMap.h"

#include "app/CheckMapWindow.h"
#include "app/ColourSwatch.h"
#include "app/EventHook.h"
#include "app/FileArgument.h"
#include "app/HotspotList.h"
#include "app/ImageAreaKeys.h"
#include "app/ImageView.h"
#include "app/MapDocument.h"
#include "app/MapEditor.h"
#include "app/RecentMaps.h"
#include "app/ShutdownEvent.h"
#include "app/ZoomControl.h"
#include "app/SignalBridge.h"
#include "app/WhatsThisTag.h"
#include "dialogs/AddDefaultHotspotForm.h"
#include "dialogs/Controls.h"
#include "dialogs/Animate.h"
#include "dialogs/fAbout.h"
#include "dialogs/fSplash.h"
#include "dialogs/Help.h"
#include "dialogs/Prompter.h"
#include "dialogs/WindowPlacement.h"
#include "imaging/PMultiImage.h"
#include "mail/fEmail.h"
#include "mail/core/EmailComposer.h"
#include "output/HostLink.h"
#include "output/HostSettings.h"
#include "dialogs/HotspotDialogKit.h"
#include "regions/ChannelField.h"
#include "regions/CursorTable.h"
#include "regions/ScrollBox.h"
#include "regions/core/ZoomMath.h"
#include "resources/Art.h"

#include <QApplication>

#include <algorithm>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>

namespace {
constexpr int ClientWidth = 417;
constexpr int ClientHeight = 323;
constexpr int TopBarHeight = 44;
constexpr int BottomBarHeight = 57;


// Beside the program, where the build leaves it; else where an installation keeps shared files.
QString HelpFilePath()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QStringLiteral("/mapolin.hlp");
    const QString installed = QDir::cleanPath(dir + QStringLiteral("/../share/mapolin/mapolin.hlp"));
    return QFileInfo::exists(beside) || !QFileInfo::exists(installed) ? beside : installed;
}
const char *const HelpContextProperty = Help::kContextProperty;

} // namespace

TfrmImageMap::TfrmImageMap(QWidget *parent)
    : TGradientForm(parent, BorderStyle::Single, biSystemMenu | biMinimize | biMaximize)
{
    setObjectName(QStringLiteral("frmImageMap"));
    SetCaption(QStringLiteral("Mapolin - v1.23"));
    setWindowIcon(Art::AppIcon());
    CreateControls();
    CreateMenu();
    SetClientSize(ClientWidth, ClientHeight);
    LayoutClient();
    FormCreate();
    // Images and map files dropped from a file manager.
    setAcceptDrops(true);
}

TfrmImageMap::~TfrmImageMap()
{
    // The application-wide hook looks at this window's members: it goes before they do, and the
    // regions go while the scroll box that holds them still stands.
    delete appHook_;
    delete hotspots_.data();
    delete checkMap_.data();
    delete document_;
    delete editor_;
}

QToolButton *TfrmImageMap::AddToolButton(const char *name, const QString &hint, const char *glyph, int x, int tag)
{
    auto *button = new QToolButton(pnlTop);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setIcon(QIcon(Art::Glyph(QString::fromLatin1(glyph))));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(false);
    button->setGeometry(x, 2, 35, 35);
    if (tag)
        AddWhatsThis(button, tag);
    return button;
}

void TfrmImageMap::AddWhatsThis(QWidget *control, int tag)
{
    new TWhatsThisTag(control, tag, [this](QWidget *pressed, QMouseEvent *event) { btnNewMouseDown(pressed, event); });
}

void TfrmImageMap::CreateControls()
{
    QWidget *client = ClientArea();
    client->installEventFilter(this);

    ScrollBox1 = new TScrollBox(client);
    Image1 = new TImageView(ScrollBox1->Client());
    Image1->move(0, 0);
    Image1->SetImageSize(QSize(2000, 2000));
    Image1->hide();
    ScrollBox1->PaintOutlinesOn(Image1, [this](const QRect &area) { Image1->OutlinesChanged(area); });
    connect(Image1, &TImageView::MouseMoved, this, &TfrmImageMap::Image1MouseMove);

    txtXPos = new TChannelField(QStringLiteral("txtXPos"), QStringLiteral("txtXPos"), this);
    txtYPos = new TChannelField(QStringLiteral("txtYPos"), QStringLiteral("txtYPos"), this);
    txtInfo = new TChannelField(QStringLiteral("txtInfo"), QString(), this);

    PMultiImage1 = new TPMultiImage(this);
    PMultiImage1->setObjectName(QStringLiteral("PMultiImage1"));

    Panel3 = new QFrame(client);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlBottom = new QFrame(Panel3);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->resize(407, 53);
    Label1 = controls::MakeLabel(pnlBottom, "Label1", QStringLiteral("URL:"), QRect(30, 7, 0, 0));
    cmbURL = new QComboBox(pnlBottom);
    cmbURL->setObjectName(QStringLiteral("cmbURL"));
    cmbURL->setEditable(true);
    cmbURL->setInsertPolicy(QComboBox::NoInsert);
    cmbURL->setGeometry(57, 4, 296, 21);
    cmbURL->setProperty(HelpContextProperty, 21);
    btnLoadURL = new QToolButton(pnlBottom);
    btnLoadURL->setObjectName(QStringLiteral("btnLoadURL"));
    btnLoadURL->setIcon(QIcon(Art::Glyph(QStringLiteral("open"))));
    btnLoadURL->setGeometry(351, 4, 25, 21);
    connect(btnLoadURL, &QToolButton::clicked, this, &TfrmImageMap::btnLoadURLClick);
    Label3 = controls::MakeLabel(pnlBottom, "Label3", QStringLiteral("Target:"), QRect(18, 32, 0, 0));
    txtTarget = new QLineEdit(pnlBottom);
    txtTarget->setObjectName(QStringLiteral("txtTarget"));
    txtTarget->setGeometry(57, 29, 320, 21);
    txtTarget->setProperty(HelpContextProperty, 20);
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(cmbURL),
                       static_cast<QWidget *>(btnLoadURL), static_cast<QWidget *>(Label3),
                       static_cast<QWidget *>(txtTarget)})
        w->setEnabled(false);

    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlTop = new QFrame(Panel1);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->resize(412, 39);
    btnNew = AddToolButton("btnNew", QStringLiteral("New"), "new", 9, 11);
    btnLoad = AddToolButton("btnLoad", QStringLiteral("Load"), "load", 43, 28);
    btnSave = AddToolButton("btnSave", QStringLiteral("Save"), "save", 77, 0);
    btnRect = AddToolButton("btnRect", QStringLiteral("Rectangle"), "rect", 120, 12);
    btnCircle = AddToolButton("btnCircle", QStringLiteral("Circle"), "circle", 154, 13);
    btnPoly = AddToolButton("btnPoly", QStringLiteral("Polygon"), "poly", 188, 14);
    btnDelete = AddToolButton("btnDelete", QStringLiteral("Delete Region"), "delete", 227, 15);
    btnCompile = AddToolButton("btnCompile", QStringLiteral("Compile HTML"), "compile", 266, 0);
    btnDone = AddToolButton("btnDone", QStringLiteral("Exit"), "exit", 300, 17);
    for (QToolButton *b : {btnRect, btnCircle, btnPoly})
        b->setCheckable(true);
    for (QToolButton *b : {btnSave, btnRect, btnCircle, btnPoly, btnDelete, btnCompile})
        b->setEnabled(false);
    connect(btnNew, &QToolButton::clicked, this, &TfrmImageMap::btnNewClick);
    connect(btnLoad, &QToolButton::clicked, this, &TfrmImageMap::Load1Click);
    connect(btnSave, &QToolButton::clicked, this, &TfrmImageMap::Save1Click);
    connect(btnCompile, &QToolButton::clicked, this, &TfrmImageMap::btnCompileClick);
    connect(btnDone, &QToolButton::clicked, this, &TfrmImageMap::btnDoneClick);

    Bevel1 = new QFrame(pnlTop);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(366, 6, 22, 24);
    lblColour = new TColourSwatch(pnlTop);
    lblColour->setObjectName(QStringLiteral("lblColour"));
    lblColour->setGeometry(369, 9, 16, 18);
    lblColour->setToolTip(QStringLiteral("Line Color"));
    AddWhatsThis(lblColour, 19);
    connect(lblColour, &TColourSwatch::Clicked, this, &TfrmImageMap::lblColourClick);
    lblColour->setEnabled(false);
    Label2 = controls::MakeLabel(pnlTop, "Label2", QStringLiteral("Line Color"), QRect(0, 0, 0, 0));
    // Centred under the swatch and wholly inside the tool bar.
    Label2->move(lblColour->geometry().center().x() + 1 - Label2->width() / 2,
                 std::min(29, pnlTop->height() - Label2->height()));
    Label2->setEnabled(false);

    mnuWhat = new QMenu(this);
    mnuWhat->setObjectName(QStringLiteral("mnuWhat"));
    WhatsThis1 = mnuWhat->addAction(QStringLiteral("What's This?"));
    WhatsThis1->setObjectName(QStringLiteral("WhatsThis1"));
    mnuWhat->setDefaultAction(WhatsThis1);
    connect(WhatsThis1, &QAction::triggered, this, &TfrmImageMap::WhatsThis1Click);

    TMapEditor::TParts parts;
    parts.Window = this;
    parts.ScrollBox1 = ScrollBox1;
    parts.Image1 = Image1;
    parts.txtInfo = txtInfo;
    parts.txtXPos = txtXPos;
    parts.txtYPos = txtYPos;
    parts.cmbURL = cmbURL;
    parts.txtTarget = txtTarget;
    parts.btnRect = btnRect;
    parts.btnCircle = btnCircle;
    parts.btnPoly = btnPoly;
    parts.LineColour = [this] { return LineColour(); };
    editor_ = new TMapEditor(parts, this);
    connect(btnRect, &QToolButton::clicked, editor_, &TMapEditor::btnRectClick);
    connect(btnCircle, &QToolButton::clicked, editor_, &TMapEditor::btnCircleClick);
    connect(btnPoly, &QToolButton::clicked, editor_, &TMapEditor::btnPolyClick);
    connect(btnDelete, &QToolButton::clicked, editor_, &TMapEditor::btnDeleteClick);
    // A press in the image area gives it the focus, where the keys edit the selected hotspot.
    ScrollBox1->setFocusPolicy(Qt::ClickFocus);
    new TImageAreaKeys(ScrollBox1, *editor_);
    zoom_ = new TZoomControl(*ScrollBox1, *Image1,
                             [this](const std::function<void(TBaseRegion *)> &visit) { editor_->Regions().ForEach(visit); },
                             this);
    // A zoomed image wants more room than the designed size: the window becomes resizable.
    connect(zoom_, &TZoomControl::Zoomed, this, [this](int percent) {
        if (percent != zoommath::ActualSize)
            AllowUserResize();
    });

    TMapDocument::TParts document;
    document.Window = this;
    document.Editor = editor_;
    document.ScrollBox1 = ScrollBox1;
    document.ClipboardMode = [this] { return clipboardMode_; };
    document.OpenImage = [this](const QString &path) {
        OpenImageFile(path);
        EnableButtons();
    };
    document.SetImageFileName = [this](const QString &path) { SetImageFileName(path); };
    document.LowerImage = [this] { Image1->lower(); };
    document.MapFileUsed = [](const QString &path) { TRecentMaps().Add(path); };
    document_ = new TMapDocument(document);
}

void TfrmImageMap::CreateMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    const auto add = [this](QMenu *menu, const char *name, const QString &text, const QList<QKeySequence> &keys,
                            auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu *file = MainMenu1->addMenu(QStringLiteral("&File"));
    New1 = add(file, "New1", QStringLiteral("&New"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, &TfrmImageMap::btnNewClick);
    Compile1 = add(file, "Compile1", QStringLiteral("&Compile"), {}, &TfrmImageMap::Compile1Click);
    Load1 = add(file, "Load1", QStringLiteral("&Open"), {QKeySequence(Qt::CTRL | Qt::Key_O)}, &TfrmImageMap::Load1Click);
    Save1 = add(file, "Save1", QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, &TfrmImageMap::Save1Click);
    Donw1 = add(file, "Donw1", QStringLiteral("&Exit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, &TfrmImageMap::btnDoneClick);
    Compile1->setVisible(false);
    Save1->setVisible(false);
    // Newer outputs and the file history, beside the classic entries and before Exit.
    file->insertSeparator(Donw1);
    CompileHTML51 = add(file, "CompileHTML51", QStringLiteral("Compile HTML&5"), {},
                        [this] { document_->Compile(TFragmentFormat::Html5); });
    CompileSVG1 = add(file, "CompileSVG1", QStringLiteral("Compile S&VG"), {},
                      [this] { document_->Compile(TFragmentFormat::Svg); });
    PreviewInBrowser1 = add(file, "PreviewInBrowser1", QStringLiteral("&Preview in Browser"), {},
                            [this] { document_->Preview(); });
    RecentMaps1 = new QMenu(QStringLiteral("&Recent Maps"), file);
    RecentMaps1->setObjectName(QStringLiteral("RecentMaps1"));
    connect(RecentMaps1, &QMenu::aboutToShow, this, &TfrmImageMap::FillRecentMaps);
    for (QAction *action : {CompileHTML51, CompileSVG1, PreviewInBrowser1}) {
        file->removeAction(action);
        file->insertAction(Donw1, action);
        action->setEnabled(false);
    }
    file->insertMenu(Donw1, RecentMaps1);
    file->insertSeparator(Donw1);

    QMenu *edit = MainMenu1->addMenu(QStringLiteral("&Edit"));
    Undo1 = add(edit, "Undo1", QStringLiteral("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] { editor_->Undo(); });
    Redo1 = add(edit, "Redo1", QStringLiteral("&Redo"),
                {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                [this] { editor_->Redo(); });
    // The texts name the change; they are made afresh whenever the history moves.
    connect(editor_, &TMapEditor::MapChanged, this, &TfrmImageMap::UpdateEditMenu);
    connect(edit, &QMenu::aboutToShow, this, [this] {
        editor_->Flush();
        UpdateEditMenu();
    });
    UpdateEditMenu();

    QMenu *view = MainMenu1->addMenu(QStringLiteral("&View"));
    ZoomIn1 = add(view, "ZoomIn1", QStringLiteral("Zoom &In"),
                  {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                  [this] { zoom_->ZoomIn(); });
    ZoomOut1 = add(view, "ZoomOut1", QStringLiteral("Zoom &Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                   [this] { zoom_->ZoomOut(); });
    ActualSize1 = add(view, "ActualSize1", QStringLiteral("&Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
                      [this] { zoom_->ActualSize(); });
    FitInWindow1 = add(view, "FitInWindow1", QStringLiteral("&Fit in Window"), {}, [this] { zoom_->FitInWindow(); });
    view->addSeparator();
    Hotspots1 = add(view, "Hotspots1", QStringLiteral("&Hotspots"), {}, &TfrmImageMap::Hotspots1Click);
    CheckMap1 = add(view, "CheckMap1", QStringLiteral("&Check Map"), {}, &TfrmImageMap::CheckMap1Click);
    for (QAction *action : view->actions())
        action->setEnabled(false);

    QMenu *help = MainMenu1->addMenu(QStringLiteral("&Help"));
    Contents1 = add(help, "Contents1", QStringLiteral("&Contents"), {}, &TfrmImageMap::Contents1Click);
    About1 = add(help, "About1", QStringLiteral("&About"), {}, &TfrmImageMap::About1Click);
    SetMenuBar(MainMenu1);
}

void TfrmImageMap::UpdateEditMenu()
{
    const QString undo = editor_->UndoName();
    const QString redo = editor_->RedoName();
    Undo1->setText(undo.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo %1").arg(undo));
    Redo1->setText(redo.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(redo));
    Undo1->setEnabled(editor_->CanUndo());
    Redo1->setEnabled(editor_->CanRedo());
}

void TfrmImageMap::FormCreate()
{
    SetUpCursors();
    RegisterQuorixMessage();
    Help::SetHelpFile(HelpFilePath() + QStringLiteral(">rodiradi"));
    Help::SetOwner(this);
    documentDir_ = HostSettings::Quorix5DocumentDir();
    Help::SetHook([this](Help::Command command, int context) { return AppHelp(command, context); });
    Help::InstallKeyHandler();
    appHook_ = new TEventHook([this](QObject *watched, QEvent *event) { AppMessage(watched, event); }, this);
    qApp->installEventFilter(appHook_);
    signalBridge_ = new TSignalBridge(this);
    clipboardMode_ = !QuorixRunning();
    editor_->SetSavedFlag(true);
}

void TfrmImageMap::SetUpCursors()
{
    for (int number = AppCursor::crMoveRegion; number <= AppCursor::crResizePoly; ++number)
        AppCursor::Register(number, Art::Cursor(number));
}

void TfrmImageMap::FormShow()
{
    if (!clipboardMode_)
        return;
    TfrmSplash splash(this);
    splash.ShowModal();
}

void TfrmImageMap::showEvent(QShowEvent *event)
{
    TGradientForm::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    CentreOnScreen(*this);
    FormShow();
}

void TfrmImageMap::FormClose()
{
    if (!ImageFileName().isEmpty())
        ClearRegions();
}

void TfrmImageMap::closeEvent(QCloseEvent *event)
{
    FormClose();
    TGradientForm::closeEvent(event);
}

void TfrmImageMap::LayoutClient()
{
    const QSize size = ClientArea()->size();
    Panel1->setGeometry(0, 0, size.width(), TopBarHeight);
    Panel3->setGeometry(0, size.height() - BottomBarHeight, size.width(), BottomBarHeight);
    ScrollBox1->setGeometry(0, TopBarHeight, size.width(), size.height() - TopBarHeight - BottomBarHeight);
    FormResize();
}

void TfrmImageMap::FormResize()
{
    // Integer halves, truncated toward zero, keep the bars centred as the window changes size.
    pnlTop->move(Panel1->width() / 2 - pnlTop->width() / 2, 2);
    pnlBottom->move(Panel3->width() / 2 - pnlBottom->width() / 2, 2);
}

QColor TfrmImageMap::LineColour() const { return lblColour->Colour(); }

QString TfrmImageMap::ImageFileName() const { return QString::fromStdString(editor_->ModelForCommands().ImageFileName); }

void TfrmImageMap::SetImageFileName(const QString &path) { editor_->ModelForCommands().ImageFileName = path.toStdString(); }

bool TfrmImageMap::AskToSaveChanges()
{
    if (editor_->SavedFlag())
        return true;
    const QMessageBox::StandardButton answer =
        Prompter().Message(this, IPrompter::Kind::Warning, QStringLiteral("Warning"), QStringLiteral("Save changes?"),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // A cancelled save dialog goes on; a save that failed stops here with the map intact, which
    // going on would clear.
    if (answer == QMessageBox::Yes && document_->Save() == TMapDocument::TSaveResult::Failed)
        return false;
    return answer != QMessageBox::Cancel;
}

void TfrmImageMap::btnNewClick()
{
    if (!AskToSaveChanges())
        return;
    if (!ImageFileName().isEmpty())
        ClearRegions();
    editor_->CreateLists();

    IPrompter::OpenFileRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = TPMultiImage::OpenFilter();
    request.initialDir = QCoreApplication::applicationDirPath();
    const QString path = Prompter().OpenFile(this, request);
    if (path.isEmpty())
        return;
    OpenImageFile(path);
    EnableButtons();
    GetDefaultURL();
}

void TfrmImageMap::OpenFile(const QString &path)
{
    const TFileArgument file = ClassifyFileArgument(path);
    if (file.Kind == TFileArgument::TKind::Refused) {
        Prompter().Message(this, IPrompter::Kind::Error, QStringLiteral("Mapolin"), file.Problem, QMessageBox::Ok);
        return;
    }
    if (!AskToSaveChanges())
        return;
    if (file.Kind == TFileArgument::TKind::Map) {
        document_->LoadFile(path);
        return;
    }
    if (!ImageFileName().isEmpty())
        ClearRegions();
    editor_->CreateLists();
    OpenImageFile(path);
    EnableButtons();
    GetDefaultURL();
}

void TfrmImageMap::FillRecentMaps()
{
    RecentMaps1->clear();
    const QStringList files = TRecentMaps().Files();
    for (int i = 0; i < files.size(); ++i) {
        // Numbered for the keyboard; an ampersand in a file name is shown, not taken as a mnemonic.
        QString label = QDir::toNativeSeparators(files[i]);
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = RecentMaps1->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(label));
        connect(entry, &QAction::triggered, this, [this, path = files[i]] {
            if (!QFileInfo(path).isFile())
                TRecentMaps().Remove(path);
            OpenFile(path);
        });
    }
    if (files.isEmpty())
        RecentMaps1->addAction(QStringLiteral("(none)"))->setEnabled(false);
}

void TfrmImageMap::dragEnterEvent(QDragEnterEvent *event)
{
    // One local file at a time; a folder or several files are not taken.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile() && !QFileInfo(urls.front().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void TfrmImageMap::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    // Opened once the drop has ended, so the dragging application is not held by our dialogs.
    QMetaObject::invokeMethod(this, [this, path = urls.front().toLocalFile()] { OpenFile(path); }, Qt::QueuedConnection);
}

void TfrmImageMap::OpenImageFile(const QString &path)
{
    AppCursor::SetShape(Qt::WaitCursor);
    PMultiImage1->SetImageName(path);
    SetImageFileName(path);
    AppCursor::Set(AppCursor::crDefault);

    PMultiImage1->ReadImageInfo(path);
    Image1->SetImageSize(QSize(PMultiImage1->ImageWidth(), PMultiImage1->ImageHeight()));
    editor_->ModelForCommands().ImageWidth = PMultiImage1->ImageWidth();
    editor_->ModelForCommands().ImageHeight = PMultiImage1->ImageHeight();
    Image1->SetPicture(PMultiImage1->Picture());
    Image1->show();
    PMultiImage1->SetImageName(QString());
}

void TfrmImageMap::EnableButtons()
{
    for (QAction *action : {ZoomIn1, ZoomOut1, ActualSize1, FitInWindow1, Hotspots1, CheckMap1, CompileHTML51,
                            CompileSVG1, PreviewInBrowser1})
        action->setEnabled(true);
    for (QToolButton *b : {btnRect, btnCircle, btnPoly, btnDelete, btnCompile})
        b->setEnabled(true);
    Compile1->setVisible(true);
    Save1->setVisible(true);
    for (QWidget *w : {static_cast<QWidget *>(btnSave), static_cast<QWidget *>(cmbURL),
                       static_cast<QWidget *>(txtTarget), static_cast<QWidget *>(btnLoadURL),
                       static_cast<QWidget *>(lblColour), static_cast<QWidget *>(Label1),
                       static_cast<QWidget *>(Label2), static_cast<QWidget *>(Label3)})
        w->setEnabled(true);
}

void TfrmImageMap::GetDefaultURL()
{
    auto *dialog = new TfrmDefaultHotSpot(this);
    if (dialog->ShowModal() == mrOk)
        editor_->SetDefault(dialog->URL, dialog->Target);
    else
        editor_->SetDefault(QString(), QString());
    delete dialog;
    txtTarget->setText(editor_->DefaultTarget());
    cmbURL->setEditText(editor_->DefaultURL());
}

void TfrmImageMap::ClearRegions() { editor_->ClearRegions(); }

void TfrmImageMap::btnDoneClick() { close(); }

void TfrmImageMap::lblColourClick()
{
    const std::optional<QColor> chosen = Prompter().ChooseColour(this, LineColour());
    if (!chosen)
        return;
    lblColour->SetColour(*chosen);
    editor_->Recolour(*chosen);
}

void TfrmImageMap::About1Click()
{
    TfrmAbout about(this);
    aboutWindow_ = &about;
    about.ShowModal();
}

void TfrmImageMap::btnEmailClick()
{
    auto *email = new mail::TfrmEmail(aboutWindow_ ? aboutWindow_.data() : this);
    email->AssignFields(mail::MapolinEmailFields());
    email->ShowModal();
    email->deleteLater();
}

void TfrmImageMap::Contents1Click() { Help::Request(Help::Command::Topic, 1); }

void TfrmImageMap::WhatsThis1Click() { Help::Request(Help::Command::Popup, whatsThisContext_); }

bool TfrmImageMap::AppHelp(Help::Command command, int context)
{
    // Only the contents are a topic of their own; every other context is shown as a pop-up.
    if (command == Help::Command::Topic && context != 1) {
        Help::Request(Help::Command::Popup, context);
        return false;
    }
    return true;
}

void TfrmImageMap::btnNewMouseDown(QWidget *control, QMouseEvent *event)
{
    if (event->button() != Qt::RightButton)
        return;
    whatsThisContext_ = TWhatsThisTag::TagOf(control);
    mnuWhat->popup(event->globalPosition().toPoint() + QPoint(2, 2));
}

void TfrmImageMap::Image1MouseMove() { AppCursor::Set(AppCursor::crDefault); }

void TfrmImageMap::Hotspots1Click()
{
    if (!hotspots_) {
        hotspots_ = new TfrmHotspots(*editor_, this);
        // Beside the main window, where it hides nothing of the image; placed once shown, when its
        // layout has given it its size.
        hotspots_->show();
        PlaceBeside(*hotspots_, *this, Qt::Horizontal);
    }
    hotspots_->show();
    hotspots_->raise();
}

void TfrmImageMap::CheckMap1Click()
{
    if (!checkMap_) {
        checkMap_ = new TfrmCheckMap(*editor_, [this] {
            const QSize size = Image1->ImageSize();
            return TImageState{Image1->Picture().isNull() ? TImageState::TState::Unreadable : TImageState::TState::Read,
                               size.width(), size.height(), {}};
        }, this);
        checkMap_->show();
        PlaceBeside(*checkMap_, *this, Qt::Vertical);
    }
    checkMap_->Refresh();
    checkMap_->show();
    checkMap_->raise();
}

void TfrmImageMap::btnLoadURLClick() { hotspotkit::ChooseHtmlFile(this, documentDir_, cmbURL); }

void TfrmImageMap::Save1Click() { document_->Save(); }

void TfrmImageMap::Load1Click() { document_->Load(); }

void TfrmImageMap::Compile1Click() { btnCompileClick(); }

void TfrmImageMap::btnCompileClick() { document_->Compile(); }

void TfrmImageMap::AppMessage(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == ShutdownEventType)
        QCoreApplication::quit();
    editor_->NoteMouseEvent(watched, event);
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()
        && ScrollBox1->Holds(static_cast<QWidget *>(watched)))
        ScrollBox1->setFocus(Qt::MouseFocusReason);
    if (!aboutWindow_ || event->type() != QEvent::MouseButtonRelease)
        return;
    // A release of the left or right button on the About window's animation opens the e-mail
    // window; whatever fails on the way is dropped without a word, as the check is only a look.
    try {
        const auto *about = qobject_cast<TfrmAbout *>(aboutWindow_.data());
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (about && watched == about->aviEmail && (button == Qt::LeftButton || button == Qt::RightButton))
            btnEmailClick();
    } catch (...) {
    }
}

bool TfrmImageMap::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ClientArea() && event->type() == QEvent::Resize)
        LayoutClient();
    return TGradientForm::eventFilter(watched, event);
}
