// What a region is given by the window that holds it: the event channel, the image origin, the
// bottom bar and the hotspot dialog. Regions know nothing else of the window.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

class IRegionHost {
public:
    // The hotspot dialog's answer: its modal result and, after OK, what was typed.
    struct TLink {
        int result = 0;
        QString URL;
        QString Target;
        QString StatusText;
    };

    virtual ~IRegionHost() = default;
    // Assigns a word to the channel; delivered at once, unless it is the word already there.
    virtual void Report(const QString &word) = 0;
    // Reports the empty text, then word, so that a repeated word is delivered too.
    virtual void Emit(const QString &word) = 0;
    // The image's origin in the parent frame: asked with "MOVE", answered in the coordinate fields.
    virtual QPoint ImageOrigin() = 0;
    // Puts a parent-frame point in the coordinate fields, then reports lead and "MISS".
    virtual void ReportMiss(QPoint point, const QString &lead) = 0;
    // Shows a selected hotspot's target, then its URL, in the bottom bar.
    virtual void ShowLink(const QString &url, const QString &target) = 0;
    // Asks for a new hotspot's link in the hotspot dialog, owned by owner.
    virtual TLink AskLink(QWidget *owner) = 0;
};
