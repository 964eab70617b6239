#include "dialogs/Prompter.h"

#include "dialogs/core/FileFilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>

namespace {

QString QtFilter(const QString &filter)
{
    return QString::fromStdString(filefilter::ToQtFilter(filter.toStdString()));
}

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
        QFileDialog dialog(parent, request.caption, request.initialDir, QtFilter(request.filter));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString SaveFile(QWidget *parent, const SaveFileRequest &request) override
    {
        QFileDialog dialog(parent, request.caption, request.initialDir, QtFilter(request.filter));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultExtension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString ChooseFolder(QWidget *parent, const QString &title, const QString &startDir) override
    {
        QFileDialog dialog(parent, title, startDir);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            return dialog.selectedFiles().constFirst();
        return startDir;
    }

    std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) override
    {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    }

    void WaitModal(QWidget &, QEventLoop &loop) override { loop.exec(QEventLoop::DialogExec); }
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

int ExecModal(QDialog &dialog)
{
    dialog.setResult(-1);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    Prompter().WaitModal(dialog, loop);
    dialog.hide();
    switch (dialog.result()) {
    case QDialog::Accepted: return mrOk;
    case QDialog::Rejected: return mrCancel;
    case -1: return mrNone;
    default: return dialog.result();
    }
}
