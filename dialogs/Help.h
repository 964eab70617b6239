// Mapolin's help: the help file, the application's help hook, a help window for topics, pop-ups at
// the pointer, and F1 / What's This on controls that carry a "HelpContext" property.
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace Help {

enum class Command { Topic, Popup };

// Controls (or a parent of theirs) name their topic with this int property; 0 means none.
inline constexpr char kContextProperty[] = "HelpContext";

// Sees every request first. Returns true to let it go on; false drops it, and the hook may have
// asked for something else in its place by calling Request itself.
using Hook = std::function<bool(Command command, int context)>;

// "<file>" or "<file>><window>": the help file and the name of the window that shows its topics.
void SetHelpFile(const QString &fileAndWindow);
QString HelpFile();
QString WindowName();
void SetHook(Hook hook);

// Shows the topic in the help window or as a pop-up at the pointer. False when the hook dropped
// the request or it could not be shown (the user was told why).
bool Request(Command command, int context);

// F1 on a focused control asks for its topic; What's This on it shows its pop-up. Idempotent.
void InstallKeyHandler();

// Shows what a request found: the real viewer uses the help window and pop-ups at the pointer;
// tests put their own in place to see what would be shown.
class IViewer {
public:
    virtual ~IViewer() = default;
    virtual void ShowTopic(int context, const QString &title, const QString &html) = 0;
    virtual void ShowPopup(int context, const QPoint &at, const QString &title, const QString &html) = 0;
};
// nullptr restores the real viewer; the caller keeps ownership.
void SetViewer(IViewer *viewer);

// The window the help window belongs to: it is shown over it and closed with it.
void SetOwner(QWidget *owner);
// Forgets the file, the hook and the owner, and closes the help window.
void Reset();

} // namespace Help
