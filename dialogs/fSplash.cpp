#include "dialogs/fSplash.h"

#include "dialogs/Controls.h"
#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "dialogs/WindowPlacement.h"
#include "resources/Art.h"

#include <QEvent>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QTimer>

namespace {

// A one-line label that draws its text from a picture rendered once per run: shaping the text
// anew costs more than all the rest of the window's first paint. The text is set once, when the
// label is made.
class TPrerenderedLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // The engine paints on the window's backing store, which knows its pixel ratio at no cost.
        const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
        if (key_.isEmpty()) {
            const QFont face = font();
            key_ = QStringLiteral("mapolin/label/")
                   + QString::number(qHashMulti(0, text(), face.family(), face.pixelSize(), face.weight(),
                                                palette().color(foregroundRole()).rgba(), width(), height(), ratio),
                                     16);
        }
        QPixmap picture;
        if (!QPixmapCache::find(key_, &picture)) {
            picture = Render(ratio);
            QPixmapCache::insert(key_, picture);
        }
        painter.drawPixmap(0, 0, picture);
    }
    void changeEvent(QEvent *event) override
    {
        key_.clear();
        QLabel::changeEvent(event);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        key_.clear();
        QLabel::resizeEvent(event);
    }

private:
    QPixmap Render(qreal ratio) const
    {
        QPixmap picture(size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(contentsRect(), int(alignment()), text());
        return picture;
    }

    QString key_;
};

} // namespace

TArtwork MakeArtwork(QDialog &form)
{
    const QPixmap art = Art::SplashArt();
    form.setFont(ui::Font());
    form.setFixedSize(art.size());
    CentreOnScreen(form); // before the children, which it would otherwise measure
    TArtwork artwork;
    artwork.image = controls::MakeLabel(&form, "Image1", QString(), QRect(QPoint(0, 0), art.size()));
    artwork.image->setPixmap(art);
    // The art covers the window, so the window's background need not be painted beneath it.
    artwork.image->setAttribute(Qt::WA_OpaquePaintEvent);
    artwork.version = new TPrerenderedLabel(&form);
    artwork.version->setObjectName(QStringLiteral("Label2"));
    artwork.version->setTextFormat(Qt::PlainText);
    artwork.version->setText(QStringLiteral("Version 1.23"));
    artwork.version->setFont(ui::BoldFont());
    // Shaping the text is the dearest step of opening the window, and it is the same every time.
    static const QSize versionSize = artwork.version->sizeHint();
    artwork.version->setGeometry(QRect(QPoint(288, 128), versionSize));
    QPalette navy = artwork.version->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    artwork.version->setPalette(navy);
    // Drawn over the artwork, and a click on it is a click on the artwork.
    artwork.version->setAttribute(Qt::WA_TransparentForMouseEvents);
    return artwork;
}

TfrmSplash::TfrmSplash(QWidget *owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    const TArtwork artwork = MakeArtwork(*this);
    Image1 = artwork.image;
    Label2 = artwork.version;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    Timer1->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5% early
    connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);
}

int TfrmSplash::ShowModal() { return ExecModal(*this); }

void TfrmSplash::FormActivate()
{
    if (!Timer1->isActive())
        Timer1->start();
}

void TfrmSplash::Timer1Timer()
{
    Timer1->stop();
    close();
}

bool TfrmSplash::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

// A window manager may refuse to activate a window that did not come from a user's action; the
// splash must close all the same, or the main window would wait behind it for ever.
void TfrmSplash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}
