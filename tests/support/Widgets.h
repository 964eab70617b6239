// Checks shared by the window tests: the Tab order and labels that show their whole text.
#pragma once

#include "dialogs/Controls.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

// The names of the widgets that hold the focus from `first` on, pressing Tab after each.
inline QStringList TabOrder(QWidget *first, int steps)
{
    QApplication::setActiveWindow(first->window());
    first->setFocus();
    QStringList names;
    for (int i = 0; i < steps && QApplication::focusWidget(); ++i) {
        names << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return names;
}

// Every label under `area` shows its whole text, as plain text, and lies within its parent.
inline void ExpectLabelsFit(const QWidget &area)
{
    for (const QLabel *label : area.findChildren<QLabel *>()) {
        EXPECT_TRUE(controls::TextFits(*label)) << label->objectName().toStdString();
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry())) << label->objectName().toStdString();
    }
}
