#include "app/MapDocument.h"

#include "app/MapEditor.h"
#include "dialogs/MapOptionsForm.h"
#include "dialogs/Prompter.h"
#include "output/HostLink.h"
#include "output/core/Fragment.h"
#include "output/core/MapFile.h"
#include "output/core/Paths.h"
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

// Map files and fragments are UTF-8 text. A file that is not valid UTF-8 comes from elsewhere (a
// Western Windows code page, say) and is read as Latin-1, so its texts still show and save again
// readably.
QString Text(const std::string &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

std::string Utf8(const QString &text) { return text.toStdString(); }
std::string Normalised(const std::string &bytes) { return Utf8(Text(bytes)); }

QString FileError(int error) { return QString::fromStdString(FileErrorMessage(error ? error : EIO)); }

void ShowError(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Error, QStringLiteral("Mapolin"), text, QMessageBox::Ok);
}

void ShowInformation(QWidget *owner, const QString &text)
{
    Prompter().Message(owner, IPrompter::Kind::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

TFragmentArea AreaOf(const TMapRegion &record)
{
    return {record.Shape, record.URL, record.Target, record.Alt};
}

} // namespace

void TMapDocument::Compile()
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
        for (const auto &[kind, areas] : {std::pair{THotspotKind::Rect, &map.Rects},
                                          std::pair{THotspotKind::Circle, &map.Circles},
                                          std::pair{THotspotKind::Poly, &map.Polys}}) {
            areas->reserve(model.List(kind).size());
            for (const TMapRegion &record : model.List(kind))
                areas->push_back(AreaOf(record));
        }
        map.DefaultURL = model.DefaultURL;
        map.DefaultTarget = model.DefaultTarget;
        const QString fragment = QString::fromStdString(WriteFragment(map));

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
    }

    // Kept as typed, the alignment too: only the fragment upper-cases it.
    stored = map.Options;
    ShowInformation(window, clipboardMode ? QStringLiteral("The HTML has been pasted onto the clipboard. You will need to "
                                                           "paste it into the <BODY> section of your HTML file.")
                                          : QStringLiteral("The HTML has been inserted into Quorix."));
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
    std::string bytes;
    try {
        bytes = WriteMapFile(parts_.Editor->Model().ToMapFile());
    } catch (const std::invalid_argument &error) {
        ShowError(window, QString::fromStdString(error.what()));
        return TSaveResult::Failed;
    }

    // Written beside the old file and renamed over it only when complete, so a failure or a kill
    // halfway leaves the old map as it was.
    QSaveFile out(path);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly)) {
        ShowError(window, FileError(errno));
        return TSaveResult::Failed;
    }
    errno = 0;
    if (out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.commit()) {
        const int error = errno;
        out.cancelWriting();
        ShowError(window, FileError(error));
        return TSaveResult::Failed;
    }
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
    QFile in(path);
    errno = 0;
    if (!in.open(QIODevice::ReadOnly)) {
        ShowError(window, FileError(errno));
        return;
    }
    errno = 0;
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        ShowError(window, FileError(errno));
        return;
    }
    in.close();
    const TMapReadResult read = ReadMapFile(std::string_view(content.constData(), std::size_t(content.size())));

    TMapEditor &editor = *parts_.Editor;
    if (!editor.ModelForCommands().ImageFileName.empty())
        editor.ClearRegions();
    editor.CreateLists();
    const QString image = Text(read.Map.ImageFileName);
    parts_.SetImageFileName(image);
    if (!QFileInfo(image).isFile()) {
        ShowError(window, Text(ImageNotFoundMessage(read.Map.ImageFileName)));
        parts_.LowerImage();
        return;
    }
    parts_.OpenImage(image);
    editor.SetDefault(Text(read.Map.DefaultURL), Text(read.Map.DefaultTarget));
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
        ShowError(window, Text(read.Error->Message));
}
