// The map's document commands: compiling it into an HTML fragment for Quorix or the clipboard,
// saving it to a map file and loading it from one. The rules live in output/core; this side asks
// the user and reads the map model.
#pragma once

#include "output/core/FragmentWriter.h"

#include <QDesktopServices>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;
class TMapEditor;
class TScrollBox;

class TMapDocument {
public:
    // What the commands need of the main window.
    struct TParts {
        QWidget *Window = nullptr;
        TMapEditor *Editor = nullptr;
        TScrollBox *ScrollBox1 = nullptr;
        std::function<bool()> ClipboardMode;
        // Reads the image into the window and enables the editing controls.
        std::function<void(const QString &)> OpenImage;
        std::function<void(const QString &)> SetImageFileName;
        // Puts the image behind every region.
        std::function<void()> LowerImage;
        // A map file was read or written: it joins the recent maps.
        std::function<void(const QString &)> MapFileUsed;
    };
    enum class TSaveResult { Saved, Cancelled, Failed };

    // Shows a page in the desktop's browser; true when one was started.
    using TBrowserOpener = std::function<bool(const QUrl &)>;

    explicit TMapDocument(const TParts &parts) : parts_(parts) {}
    // Tests read the page instead of starting a browser.
    void SetBrowserOpener(TBrowserOpener opener) { openInBrowser_ = std::move(opener); }

    // Writes the map in the given output for Quorix or the clipboard, after the map options.
    void Compile(TFragmentFormat format = TFragmentFormat::Classic);
    // Writes a page of the HTML5 fragment beside a copy of the image into a private folder and
    // has the desktop's browser open it.
    void Preview();
    // Asks for a file name and writes the map.
    TSaveResult Save();
    // Asks for a map file and replaces the map with it.
    void Load();
    void LoadFile(const QString &path);

private:
    TParts parts_;
    TBrowserOpener openInBrowser_ = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    std::unique_ptr<QTemporaryDir> previewDir_;
};
