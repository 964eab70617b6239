// Shared pieces of the main-window tests: images written on the fly and the default-URL answer.
#pragma once

#include "app/ColourSwatch.h"
#include "app/ImageMap.h"
#include "app/MapEditor.h"
#include "dialogs/AddDefaultHotspotForm.h"
#include "imaging/GifWriter.h"
#include "support/FakePrompter.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// Writes a colourful test picture in the given format and returns its path.
inline QString WriteImage(const QTemporaryDir &dir, const QString &name, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(0, 0), size / 2), Qt::darkCyan);
    painter.fillRect(QRect(QPoint(size.width() / 2, size.height() / 2), size / 2), Qt::darkYellow);
    painter.end();
    const QString path = dir.filePath(name);
    if (QByteArray(format) == "gif") {
        // Qt reads GIF but cannot write it.
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(testgif::Encode(image.convertToFormat(QImage::Format_Indexed8)));
        return path;
    }
    QImageWriter writer(path, format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
}

// Answers every modal window: the splash is left to itself, default-URL dialogs get the given URL
// and target and OK, the others go to `other`.
class ModalAnswers {
public:
    explicit ModalAnswers(FakePrompter &prompter) : prompter_(prompter)
    {
        prompter_.modal = [this](QWidget &form) {
            shown.append(form.objectName());
            if (form.objectName() == QLatin1String("frmSplash"))
                return; // it closes itself; nothing to answer
            if (auto *dialog = qobject_cast<TfrmDefaultHotSpot *>(&form)) {
                dialog->cmbURL->setEditText(defaultURL);
                dialog->txtTarget->setEditText(defaultTarget);
                QTest::mouseClick(cancelDefault ? dialog->btnCancel : dialog->btnOk, Qt::LeftButton);
                return;
            }
            if (other)
                other(form);
        };
    }
    ~ModalAnswers() { prompter_.modal = nullptr; }
    ModalAnswers(const ModalAnswers &) = delete;
    ModalAnswers &operator=(const ModalAnswers &) = delete;

    QString defaultURL = QStringLiteral("http://example.test/");
    QString defaultTarget = QStringLiteral("_top");
    bool cancelDefault = false;
    std::function<void(QWidget &)> other;
    QStringList shown;

private:
    FakePrompter &prompter_;
};

// Runs the application's loop after `trigger` until it quits; a guard ends it with 99 after five
// seconds instead of hanging.
inline int RunUntilQuit(const std::function<void()> &trigger)
{
    QTimer::singleShot(0, trigger);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QCoreApplication::exec();
}

// Opens an image through the whole New path with the prompts answered.
inline void OpenImage(TfrmImageMap &window, FakePrompter &prompter, const QString &path)
{
    prompter.files.push_back(path);
    window.btnNewClick();
}
