// Every message box, file and folder dialog, colour chooser and modal wait goes through this
// interface so tests answer them.
#pragma once

#include "dialogs/ModalResult.h"

#include <QColor>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <optional>

class QDialog;
class QEventLoop;
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

    struct SaveFileRequest {
        QString caption;
        QString filter;           // as for OpenFileRequest
        QString defaultExtension; // added when the typed name has none
        QString initialDir;
        bool confirmOverwrite = true;
    };

    virtual ~IPrompter() = default;
    // Returns the button pressed.
    virtual QMessageBox::StandardButton Message(QWidget *parent, Kind kind, const QString &caption,
                                                const QString &text, QMessageBox::StandardButtons buttons) = 0;
    // Returns the chosen file's full path, or an empty text when cancelled.
    virtual QString OpenFile(QWidget *parent, const OpenFileRequest &request) = 0;
    virtual QString SaveFile(QWidget *parent, const SaveFileRequest &request) = 0;
    // The folder selected when the chooser closes: after Cancel, the one it opened at.
    virtual QString ChooseFolder(QWidget *parent, const QString &title, const QString &startDir) = 0;
    virtual std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) = 0;
    // Waits while a window shown modally runs: the Qt prompter runs loop until the window quits
    // it; a test answers the window instead and returns.
    virtual void WaitModal(QWidget &window, QEventLoop &loop) = 0;
};

// The prompter in use: the Qt one unless a test has put its own in place.
IPrompter &Prompter();
// nullptr restores the Qt prompter; the caller keeps ownership.
void SetPrompter(IPrompter *prompter);

// Gives the keyboard back, as a modal window closes, to the window it belongs to: window managers
// differ in where focus goes when a dialog and the question it asked close together, and may
// leave it nowhere, so that no shortcut works until a click.
class TFocusReturn {
public:
    // parent: the modal window's parent; nullptr means the window active now.
    explicit TFocusReturn(QWidget *parent);
    ~TFocusReturn();
    TFocusReturn(const TFocusReturn &) = delete;
    TFocusReturn &operator=(const TFocusReturn &) = delete;

private:
    QPointer<QWidget> window_;
};

// Shows a dialog application-modal and waits for it through the prompter; Accepted reads as
// mrOk, Rejected as mrCancel, any other result as given to done().
int ExecModal(QDialog &dialog);
