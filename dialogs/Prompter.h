// Every message box, file dialog and colour chooser goes through this interface so tests answer them.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

class IPrompter {
public:
    enum class Kind { Plain, Information, Warning, Error };

    struct OpenFileRequest {
        QString caption;
        QString filter;        // "Name|*.a;*.b|..." as the program states it
        QString initialDir;
        bool mustExist = true;
        bool hideReadOnly = true;
    };

    virtual ~IPrompter() = default;
    // Returns the button pressed.
    virtual QMessageBox::StandardButton Message(QWidget *parent, Kind kind, const QString &caption,
                                                const QString &text, QMessageBox::StandardButtons buttons) = 0;
    // Returns the chosen file's full path, or an empty text when cancelled.
    virtual QString OpenFile(QWidget *parent, const OpenFileRequest &request) = 0;
    virtual std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) = 0;
};

// The prompter in use: the Qt one unless a test has put its own in place.
IPrompter &Prompter();
// nullptr restores the Qt prompter; the caller keeps ownership.
void SetPrompter(IPrompter *prompter);
