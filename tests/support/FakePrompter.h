// A prompter that records every prompt and answers from queues the test fills in.
#pragma once

#include "dialogs/Prompter.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QStringList>

#include <deque>

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

    std::optional<QColor> ChooseColour(QWidget *, const QColor &initial) override
    {
        colourInitials.append(initial);
        return colour;
    }

    std::deque<QMessageBox::StandardButton> answers; // message-box answers, in order
    std::deque<QString> files;                        // open-file answers; empty text = cancelled
    std::optional<QColor> colour;                     // colour chooser answer
    QList<Shown> messages;
    QList<OpenFileRequest> openRequests;
    QList<QColor> colourInitials;
};
