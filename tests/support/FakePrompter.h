// A prompter that records every prompt and answers from queues the test fills in.
#pragma once

#include "dialogs/Prompter.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QWidget>
#include <QStringList>

#include <deque>
#include <functional>

class FakePrompter : public IPrompter {
public:
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    FakePrompter() { SetPrompter(this); }
    ~FakePrompter() override { SetPrompter(nullptr); }
    FakePrompter(const FakePrompter &) = delete;
    FakePrompter &operator=(const FakePrompter &) = delete;

    QMessageBox::StandardButton Message(QWidget *, Kind kind, const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons) override
    {
        messages.append({kind, caption, text, buttons});
        if (answers.empty())
            return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString OpenFile(QWidget *, const OpenFileRequest &request) override
    {
        openRequests.append(request);
        if (files.empty())
            return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }

    QString SaveFile(QWidget *, const SaveFileRequest &request) override
    {
        saveRequests.append(request);
        if (saveFiles.empty())
            return {};
        const QString file = saveFiles.front();
        saveFiles.pop_front();
        return file;
    }

    QString ChooseFolder(QWidget *, const QString &title, const QString &startDir) override
    {
        folderRequests.append({title, startDir});
        return folder.value_or(startDir);
    }

    std::optional<QColor> ChooseColour(QWidget *, const QColor &initial) override
    {
        colourInitials.append(initial);
        return colour;
    }

    // A modal window is answered by the test's handler, which should end it (click a button,
    // press a key); no nested event loop runs, so nothing can wait for a user.
    void WaitModal(QWidget &window, QEventLoop &) override
    {
        modalShown.append(window.objectName());
        if (modal)
            modal(window);
    }

    std::deque<QMessageBox::StandardButton> answers; // message-box answers, in order
    std::deque<QString> files;                        // open-file answers; empty text = cancelled
    std::deque<QString> saveFiles;                    // save-file answers; empty text = cancelled
    std::optional<QString> folder;                    // folder chooser answer; none = cancelled
    std::optional<QColor> colour;                     // colour chooser answer
    std::function<void(QWidget &)> modal;             // answers modal windows
    QList<Shown> messages;
    QList<OpenFileRequest> openRequests;
    QList<SaveFileRequest> saveRequests;
    QList<QStringList> folderRequests; // title, start folder
    QStringList modalShown;
    QList<QColor> colourInitials;
};
