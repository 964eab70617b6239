// The map options dialog driven as a user would: typing, the number key filter, OK and Cancel.
#include "dialogs/MapOptionsForm.h"
#include "support/FakePrompter.h"
#include "support/Widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(MapOptions, AlignmentsFocusNumberFieldsAndNameAreAsDesigned)
{
    FakePrompter prompter;
    TfrmMapOptions form(nullptr);
    QStringList entries;
    for (int i = 0; i < form.cmbAlign->count(); ++i)
        entries << form.cmbAlign->itemText(i);
    EXPECT_EQ(entries, QStringList({"TOP", "MIDDLE", "BOTTOM", "LEFT", "RIGHT"})) << "unsorted";
    EXPECT_TRUE(form.cmbAlign->currentText().isEmpty());
    ExpectLabelsFit(*form.ClientArea());

    prompter.modal = [&](QWidget &) {
        QApplication::setActiveWindow(&form);
        EXPECT_EQ(QApplication::focusWidget(), form.txtMapName);
        EXPECT_EQ(TabOrder(form.txtMapName, 9), QStringList({"txtMapName", "txtAltDesc", "txtBorderWidth", "txtHoriz",
                                                             "txtVert", "cmbAlign", "btnOk", "btnCancel", "txtMapName"}));
        for (QLineEdit *number : {form.txtBorderWidth, form.txtHoriz, form.txtVert}) {
            QTest::keyClicks(number, QStringLiteral("1a-+ .2"));
            EXPECT_EQ(number->text(), QStringLiteral("12")) << number->objectName().toStdString();
            QTest::keyClick(number, Qt::Key_Left); // keys that type nothing pass
            QTest::keyClick(number, Qt::Key_Backspace);
            EXPECT_EQ(number->text(), QStringLiteral("2"));
        }
        // Text that is not typed is not filtered.
        QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
        form.txtVert->clear();
        form.txtVert->paste();
        EXPECT_EQ(form.txtVert->text(), QStringLiteral("x9"));

        QTest::mouseClick(form.btnOk, Qt::LeftButton);
        ASSERT_EQ(prompter.messages.size(), 1);
        EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Please enter a map name"));
        EXPECT_EQ(form.ModalResult(), mrNone) << "the dialog stays open";
        QTest::keyClicks(form.txtMapName, QStringLiteral(" "));
        QApplication::setActiveWindow(&form);
        form.cmbAlign->setFocus();
        QTest::keyClicks(form.cmbAlign->lineEdit(), QStringLiteral("middle"));
        QTest::keyClick(form.cmbAlign->lineEdit(), Qt::Key_Tab); // leaving the box keeps the text
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    };
    EXPECT_EQ(form.ShowModal(), mrOk) << "a name of blanks passes";
    EXPECT_EQ(form.cmbAlign->currentText(), QStringLiteral("middle")) << "kept as typed";
    prompter.modal = [&](QWidget &) { QTest::keyClick(form.txtMapName, Qt::Key_Escape); };
    EXPECT_EQ(form.ShowModal(), mrCancel);
}
