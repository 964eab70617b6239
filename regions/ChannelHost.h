// The region host over the window's event channel fields, bottom bar and hotspot dialog.
#pragma once

#include "regions/RegionHost.h"

class QComboBox;
class QLineEdit;
class TChannelField;

class TChannelHost : public IRegionHost {
public:
    TChannelHost(TChannelField &info, TChannelField &x, TChannelField &y, QLineEdit &target, QComboBox &url)
        : info_(info), x_(x), y_(y), target_(target), url_(url)
    {
    }

    void Report(const QString &word) override;
    void Emit(const QString &word) override;
    QPoint ImageOrigin() override;
    void ReportMiss(QPoint point, const QString &lead) override;
    void ShowLink(const QString &url, const QString &target) override;
    TLink AskLink(QWidget *owner) override;

private:
    TChannelField &info_;
    TChannelField &x_;
    TChannelField &y_;
    QLineEdit &target_;
    QComboBox &url_;
};
