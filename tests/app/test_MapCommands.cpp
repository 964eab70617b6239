// Compile, save and load from the main window: the worked map through the whole road, the
// command line's bytes, scrolling, failures that must lose nothing, and a save killed halfway.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"
#include "../cli/RunTool.h"
#include "../output/WorkedExample.h"

#include "app/ImageView.h"
#include "app/MapDocument.h"
#include "app/RecentMaps.h"
#include "dialogs/AddHotspotForm.h"
#include "dialogs/MapOptionsForm.h"
#include "output/core/MapFile.h"
#include "output/core/ReplaceAll.h"
#include "regions/PolyRegionClass.h"
#include "regions/ScrollBox.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QLineEdit>
#include <QScrollBar>

#include <csignal>

#include <sys/resource.h>

namespace {

std::string ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(unreadable)");
}

std::string Replace(const std::string &text, const std::string &from, const std::string &to)
{
    return ReplaceAll(text, from, to, true);
}

class MapCommandsTest : public ImageWindowTest {
protected:
    const QString web = dir.filePath(QStringLiteral("web"));
    // The options the dialog is given, as the command line takes them.
    const QStringList cliOptions = {QStringLiteral("--comment"), "--name", "navmap", "--align", "middle", "--alt",
                                    "Site navigation", "--border", "0", "--hspace", "0", "--vspace", "5",
                                    "--workdir", web};
    QString image;
    QString mapFile = dir.filePath(QStringLiteral("navmap.im"));
    std::string mapBytes;
    TMapOptions options = worked::Options();

    void SetUp() override
    {
        QDir().mkpath(web + QStringLiteral("/images"));
        image = WriteImage(dir, QStringLiteral("web/images/banner.gif"), {300, 100}, "gif");
        mapBytes = Replace(worked::MapFileBytes, "C:\\web\\images\\banner.gif", image.toStdString());
        WriteBytes(mapFile, mapBytes);
        modal.other = [this](QWidget &form) {
            auto *dialog = qobject_cast<TfrmMapOptions *>(&form);
            ASSERT_NE(dialog, nullptr);
            dialog->txtMapName->setText(QString::fromStdString(options.Name));
            dialog->cmbAlign->setEditText(QString::fromStdString(options.Align));
            dialog->txtAltDesc->setText(QString::fromStdString(options.Alt));
            dialog->txtBorderWidth->setText(QString::fromStdString(options.Border));
            dialog->txtVert->setText(QString::fromStdString(options.VSpace));
            dialog->txtHoriz->setText(QString::fromStdString(options.HSpace));
            dialog->btnOk->click();
        };
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void Load(const QString &path)
    {
        prompter.files.push_back(path);
        window.Load1Click();
    }
    std::string CompileToClipboard(QAction *command = nullptr)
    {
        QGuiApplication::clipboard()->clear();
        prompter.folder = web;
        command ? command->trigger() : window.btnCompileClick();
        return QGuiApplication::clipboard()->text().toStdString();
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (const auto &m : prompter.messages)
            texts << m.text;
        return texts;
    }
};

TEST_F(MapCommandsTest, WorkedMapCompilesToTheWorkedFragmentAsTheCommandLineDoes)
{
    Load(mapFile);
    ASSERT_TRUE(prompter.messages.isEmpty()) << Texts().join('|').toStdString();
    EXPECT_TRUE(window.Editor().SavedFlag()) << "loading leaves the saved flag";
    EXPECT_TRUE(window.cmbURL->currentText().isEmpty()) << "nor shows the default";

    // The command line, given the same options and folder, writes the same bytes.
    const std::string loaded = CompileToClipboard();
    const TToolRun cli = RunTool(QStringList{QStringLiteral("compile"), mapFile} + cliOptions);
    EXPECT_EQ(cli.Status, 0) << cli.Err;
    EXPECT_EQ(cli.Out, loaded);

    // With the status texts typed again it is the worked fragment, after the clipboard's comment.
    window.Editor().Regions().Rects()[0]->StatusText = QStringLiteral("About us");
    window.Editor().Regions().Polys()[0]->StatusText = QStringLiteral("Products");
    window.ScrollBox1->horizontalScrollBar()->setValue(40);
    EXPECT_EQ(CompileToClipboard(), std::string(ClipboardComment) + "\r\n" + worked::FragmentBytes);
    EXPECT_EQ(window.ScrollBox1->horizontalScrollBar()->value(), 0) << "compiling scrolls to the origin";
    EXPECT_EQ(QString::fromStdString(window.Editor().ModelForCommands().Options.Align), QStringLiteral("middle")) << "stored as typed";
    EXPECT_TRUE(Texts().last().startsWith("The HTML has been pasted onto the clipboard.")) << Texts().last().toStdString();
    EXPECT_EQ(prompter.folderRequests.last().value(1), QCoreApplication::applicationDirPath());

    // Cancelled options produce nothing and keep the stored ones; a cancelled folder chooser goes
    // on from the folder it opened at.
    modal.other = [](QWidget &form) { qobject_cast<TfrmMapOptions *>(&form)->btnCancel->click(); };
    EXPECT_EQ(CompileToClipboard(), "");
    EXPECT_EQ(QString::fromStdString(window.Editor().ModelForCommands().Options.Name), QStringLiteral("navmap"));
}

TEST_F(MapCommandsTest, SaveWritesImagePixelsWhileScrolledAndReloadsEveryKind)
{
    Load(mapFile);
    window.Editor().Regions().Polys()[0]->StatusText = QStringLiteral("kept on saving");
    window.Editor().Regions().Rects()[0]->URL = QStringLiteral("caf\u00e9/d\u00e9j\u00e0.html");
    window.ScrollBox1->horizontalScrollBar()->setValue(25);
    window.Editor().SetSavedFlag(false);
    const QString saved = dir.filePath(QStringLiteral("again.im"));
    prompter.saveFiles.push_back(saved);
    window.Save1Click();
    EXPECT_TRUE(window.Editor().SavedFlag());
    EXPECT_EQ(ReadAll(saved), Replace(mapBytes, "about.html", "caf\xc3\xa9/d\xc3\xa9j\xc3\xa0.html")
                                  + "\x1a" "Mapolin extension 1\r\npoly.1.alt 14:kept on saving\r\nend\r\n")
        << "image pixels, UTF-8 text, the closing copy, the status text after the classic content";

    window.ScrollBox1->horizontalScrollBar()->setValue(30);
    Load(saved);
    ASSERT_EQ(window.Editor().Regions().Count(), 3);
    EXPECT_EQ(window.Editor().Regions().Rects()[0]->URL, QStringLiteral("caf\u00e9/d\u00e9j\u00e0.html"));
    EXPECT_EQ(window.Editor().Regions().Polys()[0]->StatusText, QStringLiteral("kept on saving"));
    auto *poly = static_cast<TPolyRegion *>(window.Editor().Regions().Polys()[0]);
    EXPECT_EQ(poly->Points[3].x, poly->Points[0].x);
    EXPECT_EQ(poly->Left() - window.Image1->x(), 195) << "placed at its image pixels in a scrolled view";

    // A file from a Western Windows code page (not UTF-8) is read as Latin-1.
    WriteBytes(saved, Replace(mapBytes, "about.html", "caf\xe9.html"));
    Load(saved);
    EXPECT_EQ(window.Editor().Regions().Rects()[0]->URL, QStringLiteral("caf\u00e9.html"));
}

TEST_F(MapCommandsTest, FailuresLoseNothing)
{
    Load(mapFile);
    window.Editor().SetSavedFlag(false);
    // A save that cannot be written keeps the flag, and New asked to save first stops with the map.
    prompter.saveFiles.push_back(dir.filePath(QStringLiteral("no/such/folder/x.im")));
    prompter.answers.push_back(QMessageBox::Yes);
    window.btnNewClick();
    EXPECT_EQ(Texts().mid(Texts().size() - 2), QStringList({"Save changes?", "File not found"}));
    EXPECT_FALSE(window.Editor().SavedFlag());
    EXPECT_EQ(window.Editor().Regions().Count(), 3);
    EXPECT_EQ(prompter.openRequests.size(), 1) << "no image was asked for";
    // A cancelled save dialog goes on to the new image.
    prompter.answers.push_back(QMessageBox::Yes);
    window.btnNewClick();
    EXPECT_EQ(prompter.openRequests.size(), 2);

    const struct { std::string bytes; QString message; int regions; } cases[] = {
        {Replace(mapBytes, "\r\n35\r\n125\r\n", "\r\n35\r\n12x\r\n"), "'12x' is not a valid integer value", 1},
        {Replace(mapBytes, "main\r\n3\r\n", "main\r\n101\r\n"), "", 2},
        {Replace(mapBytes, image.toStdString(), web.toStdString()), "Image file not found. \r\nLooking for " + web, 0},
        {"", "Image file not found. \r\nLooking for ", 0},
        {mapBytes.substr(0, mapBytes.rfind("5\r\n5\r\n")), "'' is not a valid integer value", 2},
        // A count far beyond the file: its records are read while they last, nothing ahead.
        {Replace(mapBytes, "\r\n1\r\n20\r\n", "\r\n2147483647\r\n20\r\n"), "'' is not a valid integer value", 2},
    };
    for (const auto &c : cases) {
        Load(mapFile);
        prompter.messages.clear();
        const QString bad = dir.filePath(QStringLiteral("bad.im"));
        WriteBytes(bad, c.bytes);
        Load(bad);
        ASSERT_EQ(prompter.messages.size(), 1) << c.bytes;
        EXPECT_TRUE(prompter.messages[0].text.startsWith(c.message)) << prompter.messages[0].text.toStdString();
        EXPECT_EQ(window.Editor().Regions().Count(), c.regions) << "the regions completed before stay, in their lists";
        int children = 0;
        for (QObject *child : window.ScrollBox1->Client()->children())
            children += qobject_cast<TBaseRegion *>(child) != nullptr;
        EXPECT_EQ(children, c.regions) << "no region outside the lists";
    }
    // A map file that cannot be read leaves the map on screen alone.
    Load(mapFile);
    Load(dir.path());
    EXPECT_EQ(window.Editor().Regions().Count(), 3);
}

TEST_F(MapCommandsTest, ASaveThatFailsHalfwayLeavesTheOldFileAsItWas)
{
    Load(mapFile);
    window.Editor().Regions().Polys()[0]->URL = QString(100000, QLatin1Char('a'));
    window.Editor().SetSavedFlag(false);
    // The file system stops the write at 4 KiB, as a full disk or a kill halfway would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    prompter.saveFiles.push_back(mapFile);
    window.Save1Click();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_EQ(ReadAll(mapFile), mapBytes);
    EXPECT_EQ(prompter.messages.value(0).text, QStringLiteral("Disk full"));
    EXPECT_FALSE(window.Editor().SavedFlag());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"navmap.im"})) << "no temporary file is left";
}

TEST_F(MapCommandsTest, NewerOutputsAreTheCommandLinesAndThePreviewIsAPageBesideItsImage)
{
    Load(mapFile);
    for (const auto &[action, flag] : {std::pair{window.CompileHTML51, "--html5"}, std::pair{window.CompileSVG1, "--svg"}}) {
        const std::string clipboard = CompileToClipboard(action);
        const TToolRun cli = RunTool(QStringList{QStringLiteral("compile"), mapFile, QString::fromLatin1(flag)} + cliOptions);
        EXPECT_EQ(cli.Status, 0) << cli.Err;
        EXPECT_EQ(clipboard, cli.Out) << flag;
        // The worked map's hotspots have no alt texts once reloaded: the closing message names them.
        EXPECT_TRUE(Texts().last().contains(QStringLiteral("no alt text"))) << Texts().last().toStdString();
    }

    QUrl opened;
    window.Document().SetBrowserOpener([&](const QUrl &url) {
        opened = url;
        return true;
    });
    window.PreviewInBrowser1->trigger();
    ASSERT_TRUE(opened.isLocalFile());
    const std::string page = ReadAll(opened.toLocalFile());
    EXPECT_NE(page.find("<img src=\"image.gif\" usemap=\"#navmap\" width=\"300\" height=\"100\""), std::string::npos) << page;
    EXPECT_NE(page.find("contact.html"), std::string::npos);
    EXPECT_EQ(ReadAll(QFileInfo(opened.toLocalFile()).dir().filePath(QStringLiteral("image.gif"))), ReadAll(image));
    EXPECT_EQ(QFileInfo(opened.toLocalFile()).dir().dirName().left(16), QStringLiteral("mapolin-preview-"));
}

TEST_F(MapCommandsTest, FilesFromAnywhereOpenAsNewOrOpenAndJoinTheRecentMaps)
{
    const int before = prompter.messages.size();
    WriteBytes(dir.filePath(QStringLiteral("notes.txt")), "just text");
    for (const QString &refused : {dir.filePath(QStringLiteral("none.im")), web, dir.filePath(QStringLiteral("notes.txt"))})
        window.OpenFile(refused);
    ASSERT_EQ(prompter.messages.size(), before + 3);
    EXPECT_TRUE(prompter.messages[before].text.endsWith(QStringLiteral("does not exist.")));
    EXPECT_TRUE(prompter.messages[before + 1].text.contains(QStringLiteral("is a folder")));
    EXPECT_TRUE(prompter.messages[before + 2].text.contains(QStringLiteral("neither an image")));
    EXPECT_TRUE(window.ImageFileName().isEmpty()) << "an empty editor";

    // An image starts a new map (the default URL dialog follows); a map file asks first about the
    // unsaved one, then opens.
    window.OpenFile(image);
    EXPECT_EQ(window.ImageFileName(), image);
    EXPECT_EQ(QString::fromStdString(window.Editor().Model().DefaultURL), modal.defaultURL);
    window.Editor().SetSavedFlag(false);
    prompter.answers.push_back(QMessageBox::No);
    window.OpenFile(mapFile);
    EXPECT_EQ(prompter.messages.last().text, QStringLiteral("Save changes?"));
    EXPECT_EQ(window.Editor().Regions().Count(), 3);

    // One dropped file is taken (and opened as above); a folder or several files at once are not.
    for (const auto &[urls, taken] : {std::pair{QList<QUrl>{QUrl::fromLocalFile(mapFile)}, true},
                                      std::pair{QList<QUrl>{QUrl::fromLocalFile(web)}, false},
                                      std::pair{QList<QUrl>{QUrl::fromLocalFile(image), QUrl::fromLocalFile(mapFile)}, false}}) {
        QMimeData dropped;
        dropped.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&window, &enter);
        EXPECT_EQ(enter.isAccepted(), taken) << urls.size();
    }

    // The last eight maps, newest first, each once.
    TRecentMaps recent;
    for (int i = 0; i < 10; ++i)
        recent.Add(dir.filePath(QStringLiteral("m%1.im").arg(i)));
    recent.Add(dir.filePath(QStringLiteral("m5.im")));
    QStringList newest;
    for (int i : {5, 9, 8, 7, 6, 4, 3, 2})
        newest << dir.filePath(QStringLiteral("m%1.im").arg(i));
    EXPECT_EQ(recent.Files(), newest);
    EXPECT_TRUE(TRecentMaps::DefaultSettingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

} // namespace
