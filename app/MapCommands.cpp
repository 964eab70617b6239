// The main window's map output: compiling to an HTML fragment for Quorix or the clipboard, and
// saving and loading map files. The rules live in output/core; this side reads and builds regions.
#include "app/ImageMap.h"

#include "app/ImageView.h"
#include "dialogs/MapOptionsForm.h"
#include "dialogs/Prompter.h"
#include "imaging/PMultiImage.h"
#include "output/HostLink.h"
#include "output/core/Fragment.h"
#include "output/core/MapFile.h"
#include "output/core/Paths.h"
#include "regions/ChannelField.h"
#include "regions/CircleRegionClass.h"
#include "regions/CursorTable.h"
#include "regions/PolyRegionClass.h"
#include "regions/RectRegionClass.h"
#include "regions/ScrollBox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <memory>
#include <stdexcept>

namespace {

const QString kMapFilter = QStringLiteral("Client Side Imagemap Files (*.IM)|*.im");

// Map files and fragments are text in the system's code page, on this platform the locale's
// UTF-8. A file that is not valid UTF-8 comes from elsewhere (a Western Windows code page, say)
// and is read as Latin-1, so its texts still show and save again readably.
std::string Bytes(const QString &text) { return text.toLocal8Bit().toStdString(); }

QString Text(const std::string &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

QString FileError(int error) { return QString::fromStdString(FileErrorMessage(error ? error : EIO)); }

void ShowError(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Error, QStringLiteral("Mapolin"), text, QMessageBox::Ok);
}

void ShowInformation(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

TFragmentArea AreaOf(const TBaseRegion *region)
{
    return {Bytes(region->GetCoords()), Bytes(region->URL), Bytes(region->Target), Bytes(region->StatusText)};
}

} // namespace

void TfrmImageMap::Compile1Click() { btnCompileClick(); }

void TfrmImageMap::btnCompileClick()
{
    const auto dialog = std::make_unique<TfrmMapOptions>(this);
    const auto fill = [](const QString &stored, auto &&set) {
        if (!stored.isEmpty())
            set(stored);
    };
    fill(MapName, [&](const QString &t) { dialog->txtMapName->setText(t); });
    fill(MapAlign, [&](const QString &t) { dialog->cmbAlign->setEditText(t); });
    fill(MapAlt, [&](const QString &t) { dialog->txtAltDesc->setText(t); });
    fill(MapBorder, [&](const QString &t) { dialog->txtBorderWidth->setText(t); });
    fill(MapVSpace, [&](const QString &t) { dialog->txtVert->setText(t); });
    fill(MapHSpace, [&](const QString &t) { dialog->txtHoriz->setText(t); });
    if (dialog->ShowModal() != mrOk)
        return;

    TFragmentMap map;
    map.ClipboardMode = ClipboardMode;
    map.Options = {Bytes(dialog->txtMapName->text()), Bytes(dialog->cmbAlign->currentText()),
                   Bytes(dialog->txtAltDesc->text()), Bytes(dialog->txtBorderWidth->text()),
                   Bytes(dialog->txtVert->text()), Bytes(dialog->txtHoriz->text())};
    try {
        std::unique_ptr<TQuorixPlugin> quorix;
        QString workDir;
        if (!ClipboardMode) {
            quorix = std::make_unique<TQuorixPlugin>();
            workDir = quorix->getworkdir();
        } else {
            ShowInformation(this, QStringLiteral("You will need to select the directory of your HTML file so that "
                                                 "relative references can be generated."));
            workDir = Prompter().ChooseFolder(this, QStringLiteral("Select Relative Base Directory"),
                                              QCoreApplication::applicationDirPath());
        }
        map.Src = ImageSrc(Bytes(workDir), Bytes(ImageFileName));
        // Region boxes are read in image pixels, with the image's corner at the origin.
        ScrollBox1->ScrollToOrigin();
        for (const auto &[list, areas] : {std::pair{&Regions.Rects(), &map.Rects},
                                          std::pair{&Regions.Circles(), &map.Circles},
                                          std::pair{&Regions.Polys(), &map.Polys}}) {
            areas->reserve(std::size_t(list->size()));
            for (const TBaseRegion *region : *list)
                areas->push_back(AreaOf(region));
        }
        map.DefaultURL = Bytes(DefaultURL);
        map.DefaultTarget = Bytes(DefaultTarget);
        const QString fragment = Text(WriteFragment(map));

        if (quorix) {
            if (quorix->isopendoc() != QLatin1String("true"))
                quorix->opennewfile();
            quorix->puttextatcursor(fragment);
        } else {
            QGuiApplication::clipboard()->setText(fragment);
        }
    } catch (const EQuorixError &error) {
        ShowError(this, error.Text());
        return;
    }

    // Kept as typed, the alignment too: only the fragment upper-cases it.
    MapName = dialog->txtMapName->text();
    MapAlign = dialog->cmbAlign->currentText();
    MapAlt = dialog->txtAltDesc->text();
    MapBorder = dialog->txtBorderWidth->text();
    MapVSpace = dialog->txtVert->text();
    MapHSpace = dialog->txtHoriz->text();
    ShowInformation(this, ClipboardMode ? QStringLiteral("The HTML has been pasted onto the clipboard. You will need to "
                                                         "paste it into the <BODY> section of your HTML file.")
                                        : QStringLiteral("The HTML has been inserted into Quorix."));
}

void TfrmImageMap::Save1Click() { SaveMap(); }

TfrmImageMap::TSaveResult TfrmImageMap::SaveMap()
{
    IPrompter::SaveFileRequest request;
    request.caption = QStringLiteral("Save As");
    request.filter = kMapFilter;
    request.defaultExtension = QStringLiteral("IM");
    request.initialDir = QCoreApplication::applicationDirPath();
    request.confirmOverwrite = true;
    const QString path = Prompter().SaveFile(this, request);
    if (path.isEmpty())
        return TSaveResult::Cancelled;

    ScrollBox1->ScrollToOrigin();
    TMapFile file;
    file.ImageFileName = Bytes(ImageFileName);
    file.DefaultURL = Bytes(DefaultURL);
    file.DefaultTarget = Bytes(DefaultTarget);
    const QPoint origin = Image1->pos();
    for (const auto &[list, records] : {std::pair{&Regions.Rects(), &file.Rects},
                                        std::pair{&Regions.Circles(), &file.Circles},
                                        std::pair{&Regions.Polys(), &file.Polys}}) {
        records->reserve(std::size_t(list->size()));
        for (const TBaseRegion *region : *list)
            records->push_back({0, region->Shape(origin), Bytes(region->URL), Bytes(region->Target), {}, {}});
    }
    std::string bytes;
    try {
        bytes = WriteMapFile(file);
    } catch (const std::invalid_argument &error) {
        ShowError(this, QString::fromStdString(error.what()));
        return TSaveResult::Failed;
    }

    // Written beside the old file and renamed over it only when complete, so a failure or a kill
    // halfway leaves the old map as it was.
    QSaveFile out(path);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly)) {
        ShowError(this, FileError(errno));
        return TSaveResult::Failed;
    }
    errno = 0;
    if (out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.commit()) {
        const int error = errno;
        out.cancelWriting();
        ShowError(this, FileError(error));
        return TSaveResult::Failed;
    }
    SavedFlag = true;
    return TSaveResult::Saved;
}

void TfrmImageMap::Load1Click()
{
    IPrompter::OpenFileRequest request;
    request.caption = QStringLiteral("Open");
    request.filter = kMapFilter;
    request.initialDir = QCoreApplication::applicationDirPath();
    request.mustExist = true;
    request.hideReadOnly = true;
    const QString path = Prompter().OpenFile(this, request);
    if (path.isEmpty())
        return;

    // The whole file is read before anything is replaced: a map that cannot be read leaves the
    // one on screen as it was.
    QFile in(path);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly)) {
        ShowError(this, FileError(errno));
        return;
    }
    errno = 0;
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        ShowError(this, FileError(errno));
        return;
    }
    in.close();
    const TMapReadResult read = ReadMapFile(std::string_view(content.constData(), std::size_t(content.size())));

    if (!ImageFileName.isEmpty())
        ClearRegions();
    Regions.Create();
    ImageFileName = Text(read.Map.ImageFileName);
    if (!QFileInfo(ImageFileName).isFile()) {
        ShowError(this, Text(ImageNotFoundMessage(read.Map.ImageFileName)));
        Image1->lower();
        return;
    }
    OpenImageFile(ImageFileName);
    EnableButtons();
    DefaultURL = Text(read.Map.DefaultURL);
    DefaultTarget = Text(read.Map.DefaultTarget);

    const QPoint origin = Image1->pos();
    const auto create = [&](TRegionLists::List &list, const std::vector<TMapRegion> &records, auto make) {
        for (const TMapRegion &record : records) {
            TBaseRegion *region = make();
            // Placed before it is shown: a shown widget's geometry change would post events for
            // Qt to merge, whose search through the posted events makes loading quadratic.
            region->SetShape(record.Shape, origin);
            region->show();
            RaiseIfNeeded(region);
            region->URL = Text(record.URL);
            region->Target = Text(record.Target);
            HandOver(region);
            region->Drawn = true;
            region->ImageWidth = Image1->width();
            region->ImageHeight = Image1->height();
            RaiseIfNeeded(region);
            list.append(region);
        }
    };
    create(Regions.Rects(), read.Map.Rects, [this] { return new TRectRegion(ScrollBox1); });
    create(Regions.Circles(), read.Map.Circles, [this] { return new TCircleRegion(ScrollBox1); });
    create(Regions.Polys(), read.Map.Polys, [this] { return new TPolyRegion(ScrollBox1); });
    Image1->lower();
    if (read.Error)
        ShowError(this, Text(read.Error->Message));
}
