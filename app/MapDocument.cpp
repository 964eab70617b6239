#include "app/MapDocument.h"

#include "app/MapEditor.h"
#include "dialogs/MapOptionsForm.h"
#include "dialogs/Prompter.h"
#include "output/HostLink.h"
#include "output/MapFileIO.h"
#include "output/MapText.h"
#include "output/SaveFile.h"
#include "output/core/FragmentWriter.h"
#include "output/core/PreviewPage.h"
#include "output/core/MapFile.h"
#include "output/core/Paths.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>
#include <stdexcept>

namespace {

const QString kMapFilter = QStringLiteral("Client Side Imagemap Files (*.IM)|*.im");

std::string Utf8(const QString &text) { return text.toStdString(); }
std::string Normalised(const std::string &bytes) { return MapBytes(MapText(bytes)); }

void ShowError(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Error, QStringLiteral("Mapolin"), text, QMessageBox::Ok);
}

void ShowInformation(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

// The hotspots and the default link of the map on screen.
void AddAreas(TFragmentMap &map, const TMapModel &model)
{
    for (const auto &[kind, areas] : {std::pair{THotspotKind::Rect, &map.Rects}, std::pair{THotspotKind::Circle, &map.Circles},
                                      std::pair{THotspotKind::Poly, &map.Polys}}) {
        areas->reserve(model.List(kind).size());
        for (const TMapRegion &record : model.List(kind))
            areas->push_back({record.Shape, record.URL, record.Target, record.Alt});
    }
    map.DefaultURL = model.DefaultURL;
    map.DefaultTarget = model.DefaultTarget;
}

// A map name the preview can use: the one typed for the last compile, else "map".
std::string PreviewName(const std::string &typed)
{
    const bool usable = !typed.empty() && typed.find_first_of(" \t\n\f\r") == std::string::npos;
    return usable ? typed : "map";
}

} // namespace

void TMapDocument::Compile(TFragmentFormat format)
{
    QWidget *window = parts_.Window;
    TMapOptions &stored = parts_.Editor->ModelForCommands().Options;
    const auto dialog = std::make_unique<TfrmMapOptions>(window);
    const auto fill = [](const std::string &kept, auto &&set) {
        if (!kept.empty())
            set(QString::fromStdString(kept));
    };
    fill(stored.Name, [&](const QString &t) { dialog->txtMapName->setText(t); });
    fill(stored.Align, [&](const QString &t) { dialog->cmbAlign->setEditText(t); });
    fill(stored.Alt, [&](const QString &t) { dialog->txtAltDesc->setText(t); });
    fill(stored.Border, [&](const QString &t) { dialog->txtBorderWidth->setText(t); });
    fill(stored.VSpace, [&](const QString &t) { dialog->txtVert->setText(t); });
    fill(stored.HSpace, [&](const QString &t) { dialog->txtHoriz->setText(t); });
    if (dialog->ShowModal() != mrOk)
        return;

    const bool clipboardMode = parts_.ClipboardMode();
    TFragmentMap map;
    map.ClipboardMode = clipboardMode;
    map.Options = {Utf8(dialog->txtMapName->text()), Utf8(dialog->cmbAlign->currentText()),
                   Utf8(dialog->txtAltDesc->text()), Utf8(dialog->txtBorderWidth->text()),
                   Utf8(dialog->txtVert->text()),    Utf8(dialog->txtHoriz->text())};
    QString warnings;
    try {
        std::unique_ptr<TQuorixPlugin> quorix;
        QString workDir;
        if (!clipboardMode) {
            quorix = std::make_unique<TQuorixPlugin>();
            workDir = quorix->getworkdir();
        } else {
            ShowInformation(window, QStringLiteral("You will need to select the directory of your HTML file so that "
                                                   "relative references can be generated."));
            workDir = Prompter().ChooseFolder(window, QStringLiteral("Select Relative Base Directory"),
                                              QCoreApplication::applicationDirPath());
        }
        const TMapModel &model = parts_.Editor->Model();
        map.Src = ImageSrc(Utf8(workDir), model.ImageFileName);
        // The compile shows the image from its corner, as the coordinates are read from there.
        parts_.ScrollBox1->ScrollToOrigin();
        AddAreas(map, model);
        // The newer outputs give the image its natural size, so browsers reserve its room.
        if (format != TFragmentFormat::Classic)
            map.ImageSize = TImageSize{model.ImageWidth, model.ImageHeight};
        const TFragmentOutput output = WriteFragmentAs(format, map);
        const QString fragment = MapText(output.Bytes);
        for (const std::string &warning : output.Warnings)
            warnings += QStringLiteral("\n\n") + MapText(warning);

        if (quorix) {
            if (quorix->isopendoc() != QLatin1String("true"))
                quorix->opennewfile();
            quorix->puttextatcursor(fragment);
        } else {
            QGuiApplication::clipboard()->setText(fragment);
        }
    } catch (const EQuorixError &error) {
        ShowError(window, error.Text());
        return;
    } catch (const std::invalid_argument &refusal) {
        // Options the chosen output cannot hold, such as a map name with a space in HTML5.
        ShowError(window, MapText(refusal.what()));
        return;
    }

    // Kept as typed, the alignment too: only the fragment upper-cases it.
    stored = map.Options;
    ShowInformation(window, clipboardMode ? QStringLiteral("The HTML has been pasted onto the clipboard. You will need to "
                                                           "paste it into the <BODY> section of your HTML file.") + warnings
                                          : QStringLiteral("The HTML has been inserted into Quorix.") + warnings);
}

TMapDocument::TSaveResult TMapDocument::Save()
{
    IPrompter::SaveFileRequest request;
    request.caption = QStringLiteral("Save As");
    request.filter = kMapFilter;
    request.defaultExtension = QStringLiteral("IM");
    request.initialDir = QCoreApplication::applicationDirPath();
    request.confirmOverwrite = true;
    QWidget *window = parts_.Window;
    const QString path = Prompter().SaveFile(window, request);
    if (path.isEmpty())
        return TSaveResult::Cancelled;

    parts_.ScrollBox1->ScrollToOrigin();
    // Written beside the old file and renamed over it only when complete, so a failure or a kill
    // halfway leaves the old map as it was.
    if (const QString error = SaveMapFile(path, parts_.Editor->Model().ToMapFile()); !error.isEmpty()) {
        ShowError(window, error);
        return TSaveResult::Failed;
    }
    if (parts_.MapFileUsed)
        parts_.MapFileUsed(path);
    parts_.Editor->SetSavedFlag(true);
    return TSaveResult::Saved;
}

void TMapDocument::Load()
{
    IPrompter::OpenFileRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = kMapFilter;
    request.initialDir = QCoreApplication::applicationDirPath();
    request.mustExist = true;
    request.hideReadOnly = true;
    const QString path = Prompter().OpenFile(parts_.Window, request);
    if (!path.isEmpty())
        LoadFile(path);
}

void TMapDocument::LoadFile(const QString &path)
{
    QWidget *window = parts_.Window;
    // The whole file is read before anything is replaced: a map that cannot be read leaves the
    // one on screen as it was.
    const TMapLoad load = LoadMapFile(path);
    if (!load.Error.isEmpty()) {
        ShowError(window, load.Error);
        return;
    }
    const TMapReadResult &read = load.Read;
    if (parts_.MapFileUsed)
        parts_.MapFileUsed(path);

    TMapEditor &editor = *parts_.Editor;
    if (!editor.ModelForCommands().ImageFileName.empty())
        editor.ClearRegions();
    editor.CreateLists();
    const QString image = MapText(read.Map.ImageFileName);
    parts_.SetImageFileName(image);
    if (!QFileInfo(image).isFile()) {
        ShowError(window, MapText(ImageNotFoundMessage(read.Map.ImageFileName)));
        parts_.LowerImage();
        return;
    }
    parts_.OpenImage(image);
    editor.SetDefault(MapText(read.Map.DefaultURL), MapText(read.Map.DefaultTarget));
    editor.ModelForCommands().Options = read.Map.Options;
    for (const auto &[kind, records] : {std::pair{THotspotKind::Rect, &read.Map.Rects},
                                        std::pair{THotspotKind::Circle, &read.Map.Circles},
                                        std::pair{THotspotKind::Poly, &read.Map.Polys}}) {
        for (TMapRegion record : *records) {
            record.URL = Normalised(record.URL);
            record.Target = Normalised(record.Target);
            record.Alt = Normalised(record.Alt);
            record.Title = Normalised(record.Title);
            editor.AddLoaded(kind, record);
        }
    }
    parts_.LowerImage();
    if (read.Error)
        ShowError(window, MapText(read.Error->Message));
    else if (read.ExtensionError)
        ShowError(window, MapText(read.ExtensionError->Message));
}

void TMapDocument::Preview()
{
    QWidget *window = parts_.Window;
    const TMapModel &model = parts_.Editor->Model();
    const QString image = MapText(model.ImageFileName);
    // One private folder (mode 0700) for the session: the browser may still read the page after
    // the next preview replaces it, and the folder goes when Mapolin ends.
    if (!previewDir_ || !previewDir_->isValid()) {
        previewDir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/mapolin-preview-XXXXXX"));
        if (!previewDir_->isValid()) {
            ShowError(window, QStringLiteral("The preview folder cannot be made: ") + previewDir_->errorString());
            previewDir_.reset();
            return;
        }
    }
    const QString imageName = QStringLiteral("image.") + QFileInfo(image).suffix().toLower();
    const QString imageCopy = previewDir_->filePath(imageName);
    TFragmentMap map;
    map.Src = MapBytes(imageName);
    map.ImageSize = TImageSize{model.ImageWidth, model.ImageHeight};
    map.Options.Name = PreviewName(model.Options.Name);
    map.Options.Alt = model.Options.Alt;
    AddAreas(map, model);
    const QString page = previewDir_->filePath(QStringLiteral("preview.html"));
    QString error;
    QFile::remove(imageCopy);
    if (!QFile::copy(image, imageCopy))
        error = QStringLiteral("The image cannot be copied for the preview: ") + image;
    else
        error = WriteFileAtomically(page, WritePreviewPage(map));
    if (!error.isEmpty()) {
        ShowError(window, error);
        return;
    }
    if (!openInBrowser_(QUrl::fromLocalFile(page)))
        ShowError(window, QStringLiteral("No browser could be started to show ") + page);
}
