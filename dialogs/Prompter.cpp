#include "dialogs/Prompter.h"

#include "dialogs/core/FileFilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QTreeView>

namespace {

QString QtFilter(const QString &filter)
{
    return QString::fromStdString(filefilter::ToQtFilter(filter.toStdString()));
}

// Room a window manager takes from a title bar beside the caption: icon, up to three buttons and
// their margins.
constexpr int TitleBarExtras = 130;

// A message box as wide as its caption needs in a window manager's title bar, which is commonly
// bold, larger than the text of the box and widely spaced: a short message must not cut it.
void FitCaption(QMessageBox &box)
{
    QFont title = box.font();
    title.setBold(true);
    title.setPixelSize(12);
    const int width = QFontMetrics(title).horizontalAdvance(box.windowTitle()) * 5 / 4 + TitleBarExtras;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

// Each column of the detail view as wide as its widest entry, so that no size, type or date is
// cut to an ellipsis.
void FitColumns(QFileDialog &dialog)
{
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView")))
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
        // Our texts are shown as written: "<BODY>" in a message is text, not markup.
        box.setTextFormat(Qt::PlainText);
        FitCaption(box);
        const TFocusReturn focus(parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString OpenFile(QWidget *parent, const OpenFileRequest &request) override
    {
        QFileDialog dialog(parent, request.caption, request.initialDir, QtFilter(request.filter));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        FitColumns(dialog);
        const TFocusReturn focus(parent);
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
        dialog.setDefaultSuffix(QString::fromStdString(
            filefilter::DefaultSuffix(request.filter.toStdString(), request.defaultExtension.toStdString())));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        FitColumns(dialog);
        const TFocusReturn focus(parent);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString ChooseFolder(QWidget *parent, const QString &title, const QString &startDir) override
    {
        QFileDialog dialog(parent, title, startDir);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        FitColumns(dialog);
        const TFocusReturn focus(parent);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            return dialog.selectedFiles().constFirst();
        return startDir;
    }

    std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) override
    {
        const TFocusReturn focus(parent);
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

TFocusReturn::TFocusReturn(QWidget *parent)
    : window_(parent ? parent->window() : QApplication::activeWindow())
{
}

TFocusReturn::~TFocusReturn()
{
    if (window_ && window_->isVisible() && !window_->isMinimized())
        window_->activateWindow();
}

int ExecModal(QDialog &dialog)
{
    const TFocusReturn focus(dialog.parentWidget());
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
