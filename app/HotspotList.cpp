#include "app/HotspotList.h"

#include "app/MapEditor.h"
#include "app/core/CoordsText.h"
#include "dialogs/Prompter.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString KindText(THotspotKind kind)
{
    switch (kind) {
    case THotspotKind::Rect: return QStringLiteral("Rectangle");
    case THotspotKind::Circle: return QStringLiteral("Circle");
    case THotspotKind::Poly: return QStringLiteral("Polygon");
    }
    return {};
}

QString Text(const std::string &bytes) { return QString::fromStdString(bytes); }

} // namespace

THotspotTable::THotspotTable(TMapEditor &editor, QWidget *prompts)
    : editor_(editor), prompts_(prompts), rows_(editor.Map().Count())
{
    // Taken in once control returns to the loop: a change may come from inside the view's own
    // edit, which a reset at once would pull from under it.
    connect(&editor_, &TMapEditor::MapChanged, this, [this] {
        if (resetQueued_)
            return;
        resetQueued_ = true;
        QMetaObject::invokeMethod(this, &THotspotTable::Reset, Qt::QueuedConnection);
    });
}

void THotspotTable::Reset()
{
    resetQueued_ = false;
    beginResetModel();
    rows_ = editor_.Map().Count();
    endResetModel();
}

int THotspotTable::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int THotspotTable::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant THotspotTable::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const TMapModel &map = editor_.Map();
    const THotspotRef ref = map.RefAt(index.row());
    if (!map.Contains(ref))
        return {};
    const TMapRegion &record = map.At(ref);
    switch (index.column()) {
    case Kind: return KindText(ref.Kind);
    case URL: return Text(record.URL);
    case Target: return Text(record.Target);
    case Alt: return Text(record.Alt);
    case Coords: return Text(CoordsText(ref.Kind, record.Shape));
    default: return {};
    }
}

QVariant THotspotTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char *const Titles[] = {"Kind", "URL", "Target", "Alt Text", "Coordinates"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section]) : QVariant();
}

Qt::ItemFlags THotspotTable::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == Kind ? flags : flags | Qt::ItemIsEditable;
}

bool THotspotTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const TMapModel &map = editor_.Map();
    const THotspotRef ref = map.RefAt(index.row());
    if (role != Qt::EditRole || !map.Contains(ref))
        return false;
    TMapRegion record = map.At(ref);
    const std::string text = value.toString().toStdString();
    QString name;
    switch (index.column()) {
    case URL:
        record.URL = text;
        name = QStringLiteral("Edit URL");
        break;
    case Target:
        record.Target = text;
        name = QStringLiteral("Edit Target");
        break;
    case Alt:
        record.Alt = text;
        name = QStringLiteral("Edit Alt Text");
        break;
    case Coords: {
        const TCoordsRead read = ReadCoords(ref.Kind, text, map.ImageWidth, map.ImageHeight);
        if (!read.Shape) {
            Prompter().Message(prompts_, IPrompter::Kind::Warning, QStringLiteral("Mapolin"),
                               QString::fromStdString(read.Error), QMessageBox::Ok);
            return false;
        }
        record.Shape = *read.Shape;
        name = QStringLiteral("Edit Coordinates");
        break;
    }
    default: return false;
    }
    editor_.Edit(ref, record, name);
    return true;
}

TfrmHotspots::TfrmHotspots(TMapEditor &editor, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::Tool), editor_(editor), table_(editor, this)
{
    setObjectName(QStringLiteral("frmHotspots"));
    setWindowTitle(QStringLiteral("Hotspots"));
    grdHotspots = new QTableView(this);
    grdHotspots->setObjectName(QStringLiteral("grdHotspots"));
    grdHotspots->setModel(&table_);
    grdHotspots->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdHotspots->setSelectionMode(QAbstractItemView::SingleSelection);
    grdHotspots->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed);
    grdHotspots->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grdHotspots);
    resize(520, 323);

    connect(grdHotspots->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmHotspots::SelectRow);
    connect(&editor_, &TMapEditor::SelectionChanged, this, &TfrmHotspots::ShowSelection);
    // A reset forgets the current row: the editor's selection shows again.
    connect(&table_, &QAbstractItemModel::modelReset, this, &TfrmHotspots::ShowSelection);
    ShowSelection();
}

void TfrmHotspots::SelectRow()
{
    if (following_)
        return;
    const int row = grdHotspots->currentIndex().row();
    if (row >= 0)
        editor_.Select(editor_.Map().RefAt(row));
}

void TfrmHotspots::ShowSelection()
{
    following_ = true;
    const TSelection selection = editor_.Selection();
    if (selection.What == TSelection::TWhat::Hotspot) {
        const QModelIndex index = table_.index(editor_.Map().PositionOf(selection.Ref), THotspotTable::Kind);
        grdHotspots->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                                  | QItemSelectionModel::Rows);
        grdHotspots->scrollTo(index);
    } else {
        grdHotspots->selectionModel()->clearSelection();
    }
    following_ = false;
}
