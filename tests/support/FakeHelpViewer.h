// A help viewer that records what would be shown instead of showing it.
#pragma once

#include "dialogs/Help.h"

#include <QList>
#include <QPoint>
#include <QString>

class FakeHelpViewer : public Help::IViewer {
public:
    struct Shown {
        Help::Command command;
        int context;
        QString title;
        QPoint position; // pop-ups: where they would appear
    };

    FakeHelpViewer() { Help::SetViewer(this); }
    ~FakeHelpViewer() override { Help::SetViewer(nullptr); }
    FakeHelpViewer(const FakeHelpViewer &) = delete;
    FakeHelpViewer &operator=(const FakeHelpViewer &) = delete;

    void ShowTopic(int context, const QString &title, const QString &html) override
    {
        shown.append({Help::Command::Topic, context, title, {}});
        lastHtml = html;
    }
    void ShowPopup(int context, const QPoint &at, const QString &title, const QString &html) override
    {
        shown.append({Help::Command::Popup, context, title, at});
        lastHtml = html;
    }

    // The last thing shown as (command, context); (Topic, 0) when nothing was.
    std::pair<Help::Command, int> Last() const
    {
        return shown.isEmpty() ? std::pair{Help::Command::Topic, 0}
                               : std::pair{shown.last().command, shown.last().context};
    }

    QList<Shown> shown;
    QString lastHtml;
};
