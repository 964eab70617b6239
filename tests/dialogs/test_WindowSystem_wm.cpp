// Our windows on a real X server, with a window manager and without one: the designed size and
// place, the caption's double click, the keyboard after a file dialog's question, message boxes.
#include "app/ImageMap.h"
#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "regions/ScrollBox.h"
#include "support/FakePrompter.h"
#include "support/XServer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
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

// Clicks as a user does, through the X server and the window manager.
void Click(const QWidget &widget, QPoint at, const char *times = "1")
{
    at = widget.mapToGlobal(at);
    XInput({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", times, "1"});
}

TEST(WindowSystem, MainWindowComesUpAtItsDesignedPlaceAndADoubleClickOnItsCaptionMaximisesIt)
{
    FakePrompter prompter;
    prompter.modal = [](QWidget &) { QTest::qWait(100); }; // the splash, shown while the window shows
    TfrmImageMap window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QRect designed(QPoint(0, 0), window.minimumSize());
    designed.moveCenter(window.screen()->availableGeometry().center());
    const auto at = [&](QRect place) {
        return QTest::qWaitFor([&] { return XGeometry(window) == place && window.geometry() == place; }, 3000);
    };
    EXPECT_TRUE(at(designed));
    EXPECT_EQ(window.ClientArea()->size(), QSize(417, 323));
    Click(window, window.CaptionRect().center(), "2");
    EXPECT_TRUE(at(window.screen()->availableGeometry()));
    // Maximised, the image area takes the room and both bars stay centred.
    EXPECT_GT(window.ScrollBox1->height(), 323 + 200);
    EXPECT_EQ(window.pnlTop->x(), window.Panel1->width() / 2 - window.pnlTop->width() / 2);
    EXPECT_EQ(window.pnlBottom->x(), window.Panel3->width() / 2 - window.pnlBottom->width() / 2);
    Click(window, window.CaptionRect().center(), "2");
    EXPECT_TRUE(at(designed));
    EXPECT_EQ(window.ClientArea()->size(), QSize(417, 323)) << "restore gives the designed size back";
}

TEST(WindowSystem, SavingOverAMapGivesTheKeyboardBackAndAddsTheExtensionAsTheFilterSpellsIt)
{
    QTemporaryDir dir;
    // Both spellings exist, so the question comes whichever extension is added.
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
        EXPECT_EQ(dialog.findChild<QComboBox *>("fileTypeCombo")->currentText(), "Client Side Imagemap Files (*.IM)");
        // Every column of the listing is as wide as its entries: no name, size, type or date is cut.
        const QTreeView *details = dialog.findChild<QTreeView *>("treeView");
        const QAbstractItemView &list = *details;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            for (int column = 0; column < 4; ++column)
                if (details->columnWidth(column) < list.sizeHintForColumn(column))
                    return false;
            return list.model()->rowCount(list.rootIndex()) == 3;
        }, 3000));
        auto *name = dialog.findChild<QLineEdit *>("fileNameEdit");
        name->setText("m1");
        WhenShown<QMessageBox>(owner, [](QMessageBox &question) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&question)); // as a user, who reads it first
            QAbstractButton *yes = question.button(QMessageBox::Yes);
            Click(*yes, yes->rect().center());
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    const IPrompter::SaveFileRequest request{"Save As", "Client Side Imagemap Files (*.IM)|*.im", "IM", dir.path()};
    EXPECT_EQ(Prompter().SaveFile(&owner, request), dir.filePath("m1.im"));
    QTest::qWait(300);
    XInput({"key", "ctrl+s"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return saves.count() == 1; }, 3000)) << "the keyboard is back with the window";
}

TEST(WindowSystem, MessagesArePlainTextUnderACaptionThatFits)
{
    QApplication::setFont(ui::Font());
    QObject test;
    WhenShown<QMessageBox>(test, [](QMessageBox &box) {
        EXPECT_EQ(box.findChild<QLabel *>("qt_msgbox_label")->textFormat(), Qt::PlainText);
        // Openbox cut "Mapolin" to "Ma... lin" in a box 167 pixels wide, and shows it whole from 198.
        EXPECT_GE(box.width(), 198);
        box.button(QMessageBox::Ok)->click();
    });
    Prompter().Message(nullptr, IPrompter::Kind::Plain, "Mapolin", "Into <BODY>", QMessageBox::Ok);
}

} // namespace
