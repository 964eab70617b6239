#include "dialogs/GradForm.h"

#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "dialogs/core/GradientMath.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSizeGrip>
#include <QEventLoop>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWindow>
#include <qdrawutil.h>

#include <utility>

namespace {

constexpr int SizingFrame = 4;
constexpr int DialogFrame = 3;
constexpr int CaptionHeightMin = 18;
constexpr int SmallCaptionHeightMin = 15;

caption::Style ToLayoutStyle(TGradientForm::BorderStyle style)
{
    return static_cast<caption::Style>(static_cast<int>(style));
}

QRect ToRect(const caption::Box &box) { return QRect(box.left, box.top, box.Width(), box.Height()); }

QStyle::StandardPixmap ButtonImage(caption::Button button)
{
    switch (button) {
    case caption::Button::Close: return QStyle::SP_TitleBarCloseButton;
    case caption::Button::Maximize: return QStyle::SP_TitleBarMaxButton;
    case caption::Button::Restore: return QStyle::SP_TitleBarNormalButton;
    case caption::Button::Minimize: return QStyle::SP_TitleBarMinButton;
    case caption::Button::Help: return QStyle::SP_TitleBarContextHelpButton;
    }
    return QStyle::SP_TitleBarCloseButton;
}

} // namespace

// The strip at the top of the window that shows the painted caption, runs its buttons and
// moves the window.
class TCaptionBar : public QWidget {
public:
    explicit TCaptionBar(TGradientForm *form) : QWidget(form), form_(form)
    {
        setObjectName(QStringLiteral("CaptionBar"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        form_->DrawCaption(p, form_->IsActiveState());
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        if (const auto hit = ButtonAt(event->position().toPoint())) {
            if (hit->enabled) {
                form_->pressedButton_ = hit->kind;
                repaint();
            }
            return;
        }
        form_->movePressedAt_ = event->position().toPoint();
    }

    // The window manager takes the pointer once a move starts, so the move waits for a drag:
    // a click or a double click on the caption stays ours.
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!form_->movePressedAt_ || !(event->buttons() & Qt::LeftButton))
            return;
        if ((event->position().toPoint() - *form_->movePressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        form_->movePressedAt_.reset();
        if (form_->windowHandle())
            form_->windowHandle()->startSystemMove();
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            form_->movePressedAt_.reset();
        if (event->button() != Qt::LeftButton || !form_->pressedButton_)
            return;
        const caption::Button pressed = *form_->pressedButton_;
        form_->pressedButton_.reset();
        repaint();
        // Like any push button, the click counts only when released over the pressed button.
        const auto hit = ButtonAt(event->position().toPoint());
        if (hit && hit->kind == pressed)
            form_->CaptionButtonClicked(pressed);
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || ButtonAt(event->position().toPoint()))
            return;
        for (const auto &button : form_->CaptionLayout().buttons) {
            if ((button.kind == caption::Button::Maximize || button.kind == caption::Button::Restore) &&
                button.enabled)
                form_->CaptionButtonClicked(button.kind);
        }
    }

private:
    std::optional<caption::ButtonBox> ButtonAt(QPoint point) const
    {
        for (const auto &button : form_->CaptionLayout().buttons) {
            if (button.box.Contains(point.x(), point.y()))
                return button;
        }
        return std::nullopt;
    }

    TGradientForm *form_;
};

TGradientForm::TGradientForm(QWidget *owner, BorderStyle style, int borderIcons)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), style_(style), borderIcons_(borderIcons)
{
    // Set first, so every control made by a derived window starts in the one font of the program.
    setFont(ui::Font());
    CalculateColors();
    RecreateCaptionFont();
    layout_ = new QVBoxLayout(this);
    layout_->setSpacing(0);
    const int frame = FrameWidth();
    layout_->setContentsMargins(frame, frame, frame, frame);
    if (style_ != BorderStyle::None) {
        captionBar_ = new TCaptionBar(this);
        captionBar_->setFixedHeight(CaptionHeight());
        layout_->addWidget(captionBar_);
    }
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    // The client area takes whatever room a maximised window has beyond the bars above it.
    layout_->addWidget(client_, 1);
    ApplySizing();
}

TGradientForm::~TGradientForm() = default;

int TGradientForm::FrameWidth() const
{
    return caption::FrameSize(ToLayoutStyle(style_), SizingFrame, DialogFrame);
}

int TGradientForm::CaptionHeight() const
{
    const int text = QFontMetrics(captionFont_).height();
    if (caption::IsToolWindow(ToLayoutStyle(style_)))
        return std::max(SmallCaptionHeightMin, text + 3);
    return std::max(CaptionHeightMin, text + 4);
}

void TGradientForm::RecreateCaptionFont()
{
    captionFont_ = QApplication::font();
    captionFont_.setBold(true);
    captionFont_.setPixelSize(caption::IsToolWindow(ToLayoutStyle(style_)) ? 10 : 11);
    if (captionBar_)
        captionBar_->setFixedHeight(CaptionHeight());
}

void TGradientForm::SetClientSize(int width, int height)
{
    clientSize_ = QSize(width, height);
    ApplySizing();
}

// A window keeps the client size it was given; only a maximised one follows the screen.
void TGradientForm::ApplySizing()
{
    if (zoomedFrom_ || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        FreeSizing();
        return;
    }
    if (sizeGrip_) {
        FreeSizing();
        if (clientSize_.isValid())
            client_->setMinimumSize(clientSize_);
        return;
    }
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    if (clientSize_.isValid())
        client_->setFixedSize(clientSize_);
}

void TGradientForm::AllowUserResize()
{
    if (sizeGrip_)
        return;
    // The window has no frame of the system's to drag: the grip asks the window system to resize.
    sizeGrip_ = new QSizeGrip(this);
    sizeGrip_->setObjectName(QStringLiteral("SizeGrip"));
    sizeGrip_->resize(sizeGrip_->sizeHint());
    sizeGrip_->move(width() - sizeGrip_->width(), height() - sizeGrip_->height());
    sizeGrip_->show();
    sizeGrip_->raise();
    ApplySizing();
}

void TGradientForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (sizeGrip_) {
        sizeGrip_->move(width() - sizeGrip_->width(), height() - sizeGrip_->height());
        sizeGrip_->raise();
    }
}

void TGradientForm::FreeSizing()
{
    layout_->setSizeConstraint(QLayout::SetDefaultConstraint);
    client_->setMinimumSize(0, 0);
    client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
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

void TGradientForm::RepaintFrame()
{
    update();
    if (captionBar_)
        captionBar_->update();
}

void TGradientForm::SetGradientColors(int colors)
{
    if (colors == gradientColors_ || colors < gradient::MinColors || colors > gradient::MaxColors)
        return;
    gradientColors_ = colors;
    CalculateColors();
    RepaintFrame();
}

void TGradientForm::SetPaintGradient(bool paint)
{
    if (paint == paintGradient_)
        return;
    paintGradient_ = paint;
    RepaintFrame();
}

bool TGradientForm::IsActiveState() const { return isActiveWindow(); }

QColor TGradientForm::ActiveCaptionColour() const { return palette().color(QPalette::Active, QPalette::Highlight); }

QColor TGradientForm::InactiveCaptionColour() const { return QColor(122, 136, 160); }

void TGradientForm::CalculateColors()
{
    const auto toRamp = [this](QColor c, std::array<QRgb, 256> &ramp) {
        const auto r = gradient::CalculateRamp({c.red(), c.green(), c.blue()}, gradientColors_);
        for (int i = 0; i < gradient::MaxColors; ++i)
            ramp[i] = qRgb(r[i].r, r[i].g, r[i].b);
    };
    toRamp(InactiveCaptionColour(), inactiveRamp_);
    toRamp(ActiveCaptionColour(), activeRamp_);
}

QRect TGradientForm::CaptionRect() const
{
    if (style_ == BorderStyle::None)
        return {};
    const int frame = FrameWidth();
    return QRect(frame, frame, width() - 2 * frame, CaptionHeight());
}

caption::Layout TGradientForm::CaptionLayout() const
{
    const QRect r = CaptionRect();
    caption::Input in;
    in.width = r.width();
    in.height = r.height();
    in.style = ToLayoutStyle(style_);
    in.systemMenu = borderIcons_ & biSystemMenu;
    in.minimize = borderIcons_ & biMinimize;
    in.maximize = borderIcons_ & biMaximize;
    in.help = borderIcons_ & biHelp;
    in.maximized = IsMaximised();
    in.smallIcon = style()->pixelMetric(QStyle::PM_SmallIconSize);
    in.smallCaptionButton = CaptionHeight() - 2;
    return caption::Compute(in);
}

void TGradientForm::DrawCaption(QPainter &painter, bool active)
{
    const QRect r = CaptionRect();
    if (r.isEmpty())
        return;
    // Everything is drawn off-screen first so the bar never flickers through its steps.
    QImage surface(r.size(), QImage::Format_RGB32);
    QPainter p(&surface);
    const QRect whole(QPoint(0, 0), r.size());

    if (!paintGradient_ || active) {
        const auto &ramp = Ramp(active);
        QImage strip(gradientColors_, 1, QImage::Format_RGB32);
        for (int i = 0; i < gradientColors_; ++i)
            strip.setPixel(i, 0, ramp[i]);
        p.drawImage(whole, strip, QRect(0, 0, gradientColors_ - 1, 1));
    } else {
        p.fillRect(whole, InactiveCaptionColour());
    }

    const caption::Layout layout = CaptionLayout();
    if (layout.icon) {
        QIcon icon = windowIcon();
        if (icon.isNull())
            icon = QApplication::windowIcon();
        if (icon.isNull())
            icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
        const QRect box = ToRect(*layout.icon);
        icon.paint(&p, box);
    }
    for (const auto &button : layout.buttons) {
        const QRect box = ToRect(button.box);
        const bool sunken = pressedButton_ == button.kind;
        qDrawWinButton(&p, box, palette(), sunken, &palette().brush(QPalette::Button));
        // Glyphs keep the style's own small size so they stay crisp, within the bevel.
        const QStyle::StandardPixmap kind = ButtonImage(button.kind);
        const QSize natural = style()->standardPixmap(kind, nullptr, this).size();
        const QRect inner = box.adjusted(1, 1, -1, -1);
        const QSize size = natural.boundedTo(inner.size());
        const QPixmap glyph = style()->standardIcon(kind, nullptr, this)
                                  .pixmap(size, devicePixelRatio(), button.enabled ? QIcon::Normal : QIcon::Disabled);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(inner.center());
        if (sunken)
            target.translate(1, 1);
        p.drawPixmap(target, glyph);
    }

    QRect text = ToRect(layout.text);
    p.setFont(captionFont_);
    if (OnCaptionPaint)
        OnCaptionPaint(this, p, text);
    text.setLeft(text.left() + 2);
    p.setFont(captionFont_);
    p.setPen(QColor(255, 255, 255));
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
               QFontMetrics(captionFont_).elidedText(caption_, Qt::ElideRight, std::max(0, text.width())));
    p.end();

    painter.drawImage(QPoint(0, 0), surface);
}

void TGradientForm::CaptionButtonClicked(caption::Button button)
{
    switch (button) {
    case caption::Button::Close:
        close();
        break;
    case caption::Button::Minimize:
        showMinimized();
        break;
    case caption::Button::Maximize:
        Zoom(true);
        break;
    case caption::Button::Restore:
        if (zoomedFrom_)
            Zoom(false);
        else
            showNormal();
        break;
    case caption::Button::Help:
        emit CaptionHelpRequested();
        QWhatsThis::enterWhatsThisMode();
        break;
    }
}

// Qt makes the native window of a window shown the first time before it lays the window out, at
// a default 640 x 480; a window manager then applies the fixed size, but without one that size
// stays and the layout spreads over it. Laid out first, the window is made at its designed size.
void TGradientForm::setVisible(bool visible)
{
    if (visible && !testAttribute(Qt::WA_WState_Created))
        layout_->activate();
    QWidget::setVisible(visible);
}

int TGradientForm::ShowModal()
{
    const TFocusReturn focus(parentWidget());
    modalResult_ = mrNone;
    showingModal_ = true;
    setWindowModality(Qt::ApplicationModal);
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    show();
    raise();
    activateWindow();
    if (modalResult_ == mrNone) {
        QEventLoop loop;
        modalLoop_ = &loop;
        Prompter().WaitModal(*this, loop);
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
    switch (event->type()) {
    case QEvent::ActivationChange:
        if (captionBar_)
            captionBar_->update();
        break;
    case QEvent::PaletteChange:
        CalculateColors();
        RepaintFrame();
        break;
    case QEvent::ApplicationFontChange:
        RecreateCaptionFont();
        break;
    case QEvent::WindowStateChange:
        ApplySizing();
        if (windowState() & Qt::WindowMaximized)
            QTimer::singleShot(0, this, &TGradientForm::TakeMaximisedPlace);
        if (captionBar_)
            captionBar_->update();
        break;
    case QEvent::WindowTitleChange:
        // A title set the Qt way still goes through the caption, which the bar paints.
        SetCaption(windowTitle());
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// Escape and Enter reach the window when no control wanted them (an open drop-down list closes
// first). Enter presses the focused button; none of these windows has a default button.
void TGradientForm::keyPressEvent(QKeyEvent *event)
{
    const auto usable = [](const QAbstractButton *button) {
        return button && button->isEnabled() && button->isVisible();
    };
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && event->key() == Qt::Key_Escape && usable(cancelButton_)) {
        cancelButton_->click();
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        auto *focused = qobject_cast<QAbstractButton *>(focusWidget());
        if (usable(focused)) {
            focused->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

// The window draws its own frame, so it fills the work area itself: window managers differ in
// whether they maximise an undecorated window, where they put it back, and whether they tell Qt.
void TGradientForm::Zoom(bool fill)
{
    const QScreen *screen = this->screen();
    if (fill && screen && !zoomedFrom_) {
        zoomedFrom_ = geometry();
        FreeSizing();
        setGeometry(screen->availableGeometry());
    } else if (!fill && zoomedFrom_) {
        const QRect normal = *std::exchange(zoomedFrom_, std::nullopt);
        ApplySizing();
        setGeometry(normal);
    }
    if (captionBar_)
        captionBar_->update();
}

// A window manager that maximises an undecorated window may not tell Qt where it went, leaving
// every mapping to the screen off (drop-down lists, pointer confinement): saying the place the
// window already has puts Qt right.
void TGradientForm::TakeMaximisedPlace()
{
    if (!isMaximized() || !screen())
        return;
    const QPoint place = screen()->availableGeometry().topLeft();
    if (pos() != place)
        move(place);
}

void TGradientForm::paintEvent(QPaintEvent *)
{
    if (style_ == BorderStyle::None)
        return;
    QPainter p(this);
    p.fillRect(rect(), palette().brush(QPalette::Window));
    qDrawWinPanel(&p, rect(), palette(), false);
}
