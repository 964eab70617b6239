#include "app/CheckMapWindow.h"

#include "app/MapEditor.h"

#include <QListWidget>
#include <QVBoxLayout>

TfrmCheckMap::TfrmCheckMap(TMapEditor &editor, std::function<TImageState()> image, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::Tool), editor_(editor), image_(std::move(image))
{
    setObjectName(QStringLiteral("frmCheckMap"));
    setWindowTitle(QStringLiteral("Check Map"));
    lstFindings = new QListWidget(this);
    lstFindings->setObjectName(QStringLiteral("lstFindings"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstFindings);
    resize(480, 200);
    connect(lstFindings, &QListWidget::currentRowChanged, this, &TfrmCheckMap::Choose);
    connect(&editor_, &TMapEditor::MapChanged, this, [this] {
        if (isVisible())
            Refresh();
    });
}

void TfrmCheckMap::Refresh()
{
    // The map as its file would hold it: the findings name the lines mapolin-map would.
    findings_ = CheckMap(editor_.Model().ToMapFile(), image_(), {.MissingAlt = true});
    const QSignalBlocker quiet(lstFindings);
    lstFindings->clear();
    for (const TFinding &finding : findings_)
        lstFindings->addItem(QStringLiteral("Line %1: %2: %3")
                                 .arg(finding.Note.Line)
                                 .arg(QString::fromStdString(finding.Kind), QString::fromStdString(finding.Note.Text)));
    if (findings_.empty())
        lstFindings->addItem(QStringLiteral("No faults found."));
}

void TfrmCheckMap::Choose(int row)
{
    if (row < 0 || std::size_t(row) >= findings_.size())
        return;
    const THotspotRef ref = editor_.Map().RefAtLine(findings_[std::size_t(row)].Note.Line);
    if (ref.Valid())
        editor_.Select(ref);
}
