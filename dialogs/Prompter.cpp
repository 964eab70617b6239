#include "dialogs/Prompter.h"

#include "dialogs/core/FileFilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

namespace {

// The real prompts, shown with Qt's standard dialogs.
class TQtPrompter : public IPrompter {
public:
    QMessageBox::StandardButton Message(QWidget *parent, Kind kind, const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons) override
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (kind) {
        case Kind::Plain: icon = QMessageBox::NoIcon; break;
        case Kind::Information: icon = QMessageBox::Information; break;
        case Kind::Warning: icon = QMessageBox::Warning; break;
        case Kind::Error: icon = QMessageBox::Critical; break;
        }
        QMessageBox box(icon, caption, text, buttons, parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString OpenFile(QWidget *parent, const OpenFileRequest &request) override
    {
        QFileDialog dialog(parent, request.caption, request.initialDir,
                           QString::fromStdString(filefilter::ToQtFilter(request.filter.toStdString())));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) override
    {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    }
};

IPrompter *&Current()
{
    static IPrompter *current = nullptr;
    return current;
}

} // namespace

IPrompter &Prompter()
{
    static TQtPrompter qtPrompter;
    return Current() ? *Current() : qtPrompter;
}

void SetPrompter(IPrompter *prompter) { Current() = prompter; }
