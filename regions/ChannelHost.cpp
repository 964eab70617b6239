#include "regions/ChannelHost.h"

#include "dialogs/AddHotspotForm.h"
#include "regions/ChannelField.h"
#include "regions/ChannelWords.h"

#include <QComboBox>
#include <QLineEdit>

#include <memory>

void TChannelHost::Report(const QString &word) { info_.SetText(word); }

void TChannelHost::Emit(const QString &word)
{
    info_.SetText(QString());
    info_.SetText(word);
}

QPoint TChannelHost::ImageOrigin()
{
    Emit(ChannelWord::Move);
    return {x_.ToInt(), y_.ToInt()};
}

void TChannelHost::ReportMiss(QPoint point, const QString &lead)
{
    x_.SetInt(point.x());
    y_.SetInt(point.y());
    info_.SetText(lead);
    info_.SetText(ChannelWord::Miss);
}

void TChannelHost::ShowLink(const QString &url, const QString &target)
{
    target_.setText(target);
    url_.setCurrentText(url);
}

IRegionHost::TLink TChannelHost::AskLink(QWidget *owner)
{
    const auto dialog = std::make_unique<TfrmHotSpot>(owner);
    TLink link;
    link.result = dialog->ShowModal();
    if (link.result == mrOk) {
        link.URL = dialog->URL;
        link.Target = dialog->Target;
        link.StatusText = dialog->StatusText;
    }
    return link;
}
