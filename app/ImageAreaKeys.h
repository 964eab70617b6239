// The keys of the image area while it has the focus: the arrows move the selected hotspot (with
// Shift 10 pixels), Delete removes it, Ctrl+D duplicates it, Tab and Shift+Tab step through the
// hotspots in map order.
#pragma once

#include <QObject>

class QWidget;
class TMapEditor;

class TImageAreaKeys : public QObject {
    Q_OBJECT
public:
    // Watches area (and is owned by it).
    TImageAreaKeys(QWidget *area, TMapEditor &editor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TMapEditor &editor_;
};
