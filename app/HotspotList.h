// View › Hotspots: a window beside the main window listing every hotspot in map order. Selecting a
// row selects the hotspot; editing a cell changes it, one undo step each; the list follows every
// change made elsewhere.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

class QTableView;
class TMapEditor;

// The map's hotspots as table rows: kind, URL, target, alt text, coordinates.
class THotspotTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { Kind, URL, Target, Alt, Coords, ColumnCount };

    THotspotTable(TMapEditor &editor, QWidget *prompts);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A refused edit (coordinates that are not numbers or leave the image) is explained in a
    // message and changes nothing.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // Rows as the map had them at the last reset.
    void Reset();

private:
    TMapEditor &editor_;
    QWidget *prompts_;
    int rows_ = 0;
    bool resetQueued_ = false;
};

class TfrmHotspots : public QWidget {
    Q_OBJECT
public:
    TfrmHotspots(TMapEditor &editor, QWidget *owner);

    QTableView *grdHotspots = nullptr;

private:
    void ShowSelection();
    void SelectRow();

    TMapEditor &editor_;
    THotspotTable table_;
    bool following_ = false;
};
