// The map's document commands: compiling it into an HTML fragment for Quorix or the clipboard,
// saving it to a map file and loading it from one. The rules live in output/core; this side asks
// the user and reads the map model.
#pragma once

#include <QString>

#include <functional>

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
    };
    enum class TSaveResult { Saved, Cancelled, Failed };

    explicit TMapDocument(const TParts &parts) : parts_(parts) {}

    void Compile();
    // Asks for a file name and writes the map.
    TSaveResult Save();
    // Asks for a map file and replaces the map with it.
    void Load();
    void LoadFile(const QString &path);

private:
    TParts parts_;
};
