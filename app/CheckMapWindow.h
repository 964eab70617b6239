// View › Check Map: what the map checker of mapolin-map finds in the map on screen, refreshed
// as the map changes; choosing a finding selects its hotspot.
#pragma once

#include "cli/core/MapCheck.h"

#include <QWidget>

#include <functional>
#include <vector>

class QListWidget;
class TMapEditor;

class TfrmCheckMap : public QWidget {
    Q_OBJECT
public:
    // image tells what the window knows of the map's image.
    TfrmCheckMap(TMapEditor &editor, std::function<TImageState()> image, QWidget *owner);

    QListWidget *lstFindings = nullptr;
    const std::vector<TFinding> &Findings() const { return findings_; }
    void Refresh();

private:
    void Choose(int row);

    TMapEditor &editor_;
    std::function<TImageState()> image_;
    std::vector<TFinding> findings_;
};
