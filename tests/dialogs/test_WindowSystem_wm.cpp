// Our windows on a real X server, with a window manager and without one: the designed size and
// place, the caption's double click, the keyboard after a file dialog's question, message boxes.
#include "app/ImageMap.h"
#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "support/FakePrompter.h"
#include "support/XServer.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Runs action once on the modal window of type T when it shows, unless the test (owner) ends first.
template <class T> void WhenShown(QObject &owner, std::function<void(T &)> action)
{
    auto *poll = new QTimer(&owner);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            action(*window);
        }
    });
    poll->start(50);
}

// A click as a user makes it, through the X server and the window manager.
void Click(const QWidget &widget)
{
    const QPoint at = widget.mapToGlobal(widget.rect().center());
    XInput({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

TEST(WindowSystem, MainWindowComesUpAtItsDesignedSizeInTheMiddleOfTheScreen)
{
    FakePrompter prompter;
    prompter.modal = [](QWidget &) { QTest::qWait(100); }; // the splash, shown while the window shows
    TfrmImageMap window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QRect designed(QPoint(0, 0), window.minimumSize());
    designed.moveCenter(window.screen()->availableGeometry().center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return XGeometry(window) == designed && window.geometry() == designed; }, 3000));
    EXPECT_EQ(window.ClientArea()->size(), QSize(417, 323));
}

TEST(WindowSystem, DoubleClickOnTheCaptionMaximisesAndRestores)
{
    TGradientForm form;
    form.SetClientSize(300, 100);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(300);
    const QRect normal = XGeometry(form);
    const auto doubleClickCaption = [&] {
        const QPoint at = form.mapToGlobal(form.CaptionRect().center());
        XInput({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", "2", "1"});
    };
    doubleClickCaption();
    EXPECT_TRUE(QTest::qWaitFor([&] { return XGeometry(form) == form.screen()->availableGeometry(); }, 3000));
    doubleClickCaption();
    EXPECT_TRUE(QTest::qWaitFor([&] { return XGeometry(form) == normal; }, 3000));
}

TEST(WindowSystem, SavingOverAMapGivesTheKeyboardBackWithTheExtensionAsTheFilterSpellsIt)
{
    QTemporaryDir dir;
    for (const char *name : {"m1.im", "m1.IM", "a map with a rather long name, kept for years.im"})
        QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    TGradientForm owner;
    owner.SetClientSize(300, 100);
    auto *save = new QAction(&owner);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    owner.addAction(save);
    QSignalSpy saves(save, &QAction::triggered);
    owner.show();
    owner.activateWindow(); // no window manager gives a new window the focus by itself
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));

    WhenShown<QFileDialog>(owner, [&](QFileDialog &dialog) {
        // Every column of the listing is as wide as its entries: no size, type or date is cut.
        const QTreeView *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
        const QAbstractItemView &list = *details;
        const auto fits = [&] {
            for (int column = 0; column < 4; ++column)
                if (details->columnWidth(column) < list.sizeHintForColumn(column))
                    return false;
            return list.model()->rowCount(list.rootIndex()) == 3;
        };
        EXPECT_TRUE(QTest::qWaitFor(fits, 3000));
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("m1"));
        WhenShown<QMessageBox>(owner, [](QMessageBox &question) {
            QTest::qWaitForWindowActive(&question); // as a user, who reads the question first
            Click(*question.button(QMessageBox::Yes));
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    const IPrompter::SaveFileRequest request{QStringLiteral("Save As"),
                                             QStringLiteral("Client Side Imagemap Files (*.IM)|*.im"),
                                             QStringLiteral("IM"), dir.path()};
    EXPECT_EQ(Prompter().SaveFile(&owner, request), dir.filePath(QStringLiteral("m1.im")));
    QTest::qWait(300);
    XInput({"key", "ctrl+s"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return saves.count() == 1; }, 3000)) << "the keyboard is back with the window";
}

TEST(WindowSystem, MessagesArePlainTextUnderACaptionThatFits)
{
    QApplication::setFont(ui::Font());
    QObject test;
    WhenShown<QMessageBox>(test, [](QMessageBox &box) {
        EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->textFormat(), Qt::PlainText);
        // Openbox cut "Mapolin" to "Ma... lin" in a box 167 pixels wide, and shows it whole from 198.
        EXPECT_GE(box.width(), 198);
        box.button(QMessageBox::Ok)->click();
    });
    Prompter().Message(nullptr, IPrompter::Kind::Plain, QStringLiteral("Mapolin"), QStringLiteral("Into <BODY>"),
                       QMessageBox::Ok);
}

} // namespace
