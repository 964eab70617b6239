// Shared pieces of the main-window tests: images written on the fly and the default-URL answer.
#pragma once

#include "app/ColourSwatch.h"
#include "app/ImageMap.h"
#include "app/MapEditor.h"
#include "dialogs/AddDefaultHotspotForm.h"
#include "imaging/GifWriter.h"
#include "regions/ScrollBox.h"
#include "support/FakePrompter.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
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

// The main window over a 300 x 200 image with its prompts answered, driven by the mouse and keys
// of the image area as a user drives it.
class ImageWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    ModalAnswers modal{prompter};
    TfrmImageMap window;

    void ShowWithImage(const QString &name, const char *format)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        OpenImage(window, prompter, WriteImage(dir, name, {300, 200}, format));
    }
    TMapEditor &Editor() { return window.Editor(); }
    QWidget *Client() const { return window.ScrollBox1->Client(); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(Client(), b, {}, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(Client(), b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(Client(), p); }
    void Click(QPoint p) { QTest::mouseClick(Client(), Qt::LeftButton, {}, p); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(window.ScrollBox1, Qt::Key(key), modifiers); }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move((from + to) / 2);
        Move(to);
        Release(to);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Draws a rectangle with the tool, from one corner to the other; the newest rectangle after.
    TBaseRegion *DrawRect(QPoint from, QPoint to)
    {
        QTest::mouseClick(window.btnRect, Qt::LeftButton);
        Drag(from, to);
        return Editor().Regions().Rects().isEmpty() ? nullptr : Editor().Regions().Rects().last();
    }
};
