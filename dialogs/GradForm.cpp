#include "dialogs/GradForm.h"

#include "dialogs/core/GradientMath.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace {
std::function<void(TGradientForm &)> &ModalHandler()
{
    static std::function<void(TGradientForm &)> handler;
    return handler;
}
} // namespace

// The strip at the top of the window that shows the painted caption and moves the window.
class TCaptionBar : public QWidget {
public:
    explicit TCaptionBar(TGradientForm *form) : QWidget(form), form_(form) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        form_->DrawCaption(p, form_->IsActiveState());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && form_->windowHandle())
            form_->windowHandle()->startSystemMove();
    }

private:
    TGradientForm *form_;
};

TGradientForm::TGradientForm(QWidget *owner, BorderStyle style, int borderIcons)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), style_(style), borderIcons_(borderIcons)
{
    CalculateColors();
    layout_ = new QVBoxLayout(this);
    layout_->setSpacing(0);
    const int frame = FrameWidth();
    layout_->setContentsMargins(frame, frame, frame, frame);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    if (style_ != BorderStyle::None) {
        captionBar_ = new TCaptionBar(this);
        captionBar_->setFixedHeight(CaptionHeight());
        layout_->addWidget(captionBar_);
    }
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    layout_->addWidget(client_);
}

TGradientForm::~TGradientForm() = default;

int TGradientForm::FrameWidth() const
{
    switch (style_) {
    case BorderStyle::None:
        return 0;
    case BorderStyle::Sizeable:
    case BorderStyle::SizeToolWin:
        return 4;
    default:
        return 3;
    }
}

int TGradientForm::CaptionHeight() const
{
    const bool tool = style_ == BorderStyle::ToolWindow || style_ == BorderStyle::SizeToolWin;
    const int text = QFontMetrics(font()).height();
    return tool ? text + 4 : text + 6;
}

void TGradientForm::SetClientSize(int width, int height) { client_->setFixedSize(width, height); }

void TGradientForm::CentreOnScreen()
{
    adjustSize();
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect box = frameGeometry();
    box.moveCenter(screen->availableGeometry().center());
    move(box.topLeft());
}

void TGradientForm::SetMenuBar(QMenuBar *menuBar) { layout_->insertWidget(captionBar_ ? 1 : 0, menuBar); }

void TGradientForm::SetCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    setWindowTitle(caption);
    if (captionBar_)
        captionBar_->repaint();
}

void TGradientForm::SetGradientColors(int colors)
{
    if (colors == gradientColors_ || colors < gradient::MinColors || colors > gradient::MaxColors)
        return;
    gradientColors_ = colors;
    CalculateColors();
    update();
    if (captionBar_)
        captionBar_->update();
}

void TGradientForm::SetPaintGradient(bool paint)
{
    if (paint == paintGradient_)
        return;
    paintGradient_ = paint;
    if (captionBar_)
        captionBar_->update();
}

bool TGradientForm::IsActiveState() const { return isActiveWindow(); }

void TGradientForm::CalculateColors()
{
    const auto toRamp = [this](QColor c, std::array<QRgb, 256> &ramp) {
        const auto r = gradient::CalculateRamp({c.red(), c.green(), c.blue()}, gradientColors_);
        for (int i = 0; i < gradient::MaxColors; ++i)
            ramp[i] = qRgb(r[i].r, r[i].g, r[i].b);
    };
    toRamp(palette().color(QPalette::Inactive, QPalette::Highlight), inactiveRamp_);
    toRamp(palette().color(QPalette::Active, QPalette::Highlight), activeRamp_);
}

QRect TGradientForm::CaptionRect() const
{
    if (style_ == BorderStyle::None)
        return {};
    const int frame = FrameWidth();
    return QRect(frame, frame, width() - 2 * frame, CaptionHeight());
}

void TGradientForm::DrawCaption(QPainter &painter, bool active)
{
    const QRect r(QPoint(0, 0), CaptionRect().size());
    const auto &ramp = Ramp(active);
    if (!paintGradient_ || active) {
        QImage strip(gradientColors_, 1, QImage::Format_RGB32);
        for (int i = 0; i < gradientColors_; ++i)
            strip.setPixel(i, 0, ramp[i]);
        painter.drawImage(r, strip, QRect(0, 0, gradientColors_ - 1, 1));
    } else {
        painter.fillRect(r, palette().color(QPalette::Inactive, QPalette::Highlight));
    }
    QRect text = r.adjusted(3, 0, -3, 0);
    if (OnCaptionPaint)
        OnCaptionPaint(this, painter, text);
    painter.setPen(Qt::white);
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                     painter.fontMetrics().elidedText(caption_, Qt::ElideRight, text.width()));
}

int TGradientForm::ShowModal()
{
    modalResult_ = mrNone;
    showingModal_ = true;
    setWindowModality(Qt::ApplicationModal);
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    show();
    raise();
    activateWindow();
    if (ModalHandler()) {
        ModalHandler()(*this);
    } else if (modalResult_ == mrNone) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec(QEventLoop::DialogExec);
    }
    showingModal_ = false;
    hide();
    return modalResult_;
}

void TGradientForm::SetModalResult(int result)
{
    modalResult_ = result;
    if (result != mrNone && modalLoop_)
        modalLoop_->quit();
}

void TGradientForm::SetModalHandler(std::function<void(TGradientForm &)> handler)
{
    ModalHandler() = std::move(handler);
}

void TGradientForm::closeEvent(QCloseEvent *event)
{
    if (showingModal_) {
        // Closing a modal window by its close button answers Cancel.
        if (modalResult_ == mrNone)
            SetModalResult(mrCancel);
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TGradientForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && captionBar_)
        captionBar_->update();
    if (event->type() == QEvent::PaletteChange)
        CalculateColors();
    QWidget::changeEvent(event);
}

void TGradientForm::paintEvent(QPaintEvent *)
{
    if (style_ == BorderStyle::None)
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TGradientForm::event(QEvent *event) { return QWidget::event(event); }
