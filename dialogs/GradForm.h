// Top-level window whose caption bar (gradient, icon, buttons, text) is painted by the window itself.
#pragma once

#include "dialogs/ModalResult.h"
#include "dialogs/core/CaptionLayout.h"

#include <QAbstractButton>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QEventLoop;
class QMenuBar;
class QVBoxLayout;

class QSizeGrip;
class TCaptionBar;

class TGradientForm : public QWidget {
    Q_OBJECT
public:
    enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
    enum BorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

    using CaptionPaintHandler = std::function<void(TGradientForm *sender, QPainter &surface, QRect &rect)>;

    explicit TGradientForm(QWidget *owner = nullptr, BorderStyle style = BorderStyle::Single,
                           int borderIcons = biSystemMenu | biMinimize | biMaximize);
    ~TGradientForm() override;

    // Controls are placed in the client area, in client coordinates.
    QWidget *ClientArea() const { return client_; }
    void SetClientSize(int width, int height);
    // From now on the user may resize the window from its lower right corner; the client size
    // given stays the smallest.
    void AllowUserResize();
    bool UserResizable() const { return sizeGrip_ != nullptr; }
    // A menu bar sits between the caption bar and the client area.
    void SetMenuBar(QMenuBar *menuBar);

    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);
    int GradientColors() const { return gradientColors_; }
    void SetGradientColors(int colors);
    bool PaintGradient() const { return paintGradient_; }
    void SetPaintGradient(bool paint);
    CaptionPaintHandler OnCaptionPaint;
    // Bold UI font of the caption text; a smaller one for the tool-window styles.
    const QFont &CaptionFont() const { return captionFont_; }

    BorderStyle Style() const { return style_; }
    int BorderIcons() const { return borderIcons_; }
    bool IsActiveState() const;
    // Filling the work area, by the maximise button or the window manager.
    bool IsMaximised() const { return zoomedFrom_.has_value() || isMaximized(); }

    // The caption colours the ramps run to: the palette's highlight when active, a quiet
    // grey-blue when inactive.
    QColor ActiveCaptionColour() const;
    QColor InactiveCaptionColour() const;
    // Colour ramps: entries 0..GradientColors()-1 are used.
    const std::array<QRgb, 256> &Ramp(bool active) const { return active ? activeRamp_ : inactiveRamp_; }
    void CalculateColors();

    // Caption rectangle in window coordinates; empty for a window without border.
    QRect CaptionRect() const;
    // Icon, caption buttons and text box of the caption bar at its current size and state.
    caption::Layout CaptionLayout() const;
    // Paints the caption bar for the given state onto a surface of CaptionRect()'s size.
    void DrawCaption(QPainter &painter, bool active);

    // Shows the window modally and returns its modal result (mrOk, mrCancel, ...).
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    // A non-zero result ends a modal showing.
    void SetModalResult(int result);

    // The button that Escape clicks, as a dialog's Cancel button; nullptr for none.
    void SetCancelButton(QAbstractButton *button) { cancelButton_ = button; }

    void setVisible(bool visible) override;

signals:
    void CaptionHelpRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    int FrameWidth() const;
    int CaptionHeight() const;

private:
    friend class TCaptionBar;
    void ApplySizing();
    void FreeSizing();
    void Zoom(bool fill);
    void TakeMaximisedPlace();
    void RecreateCaptionFont();
    void CaptionButtonClicked(caption::Button button);
    void RepaintFrame();

    BorderStyle style_;
    int borderIcons_;
    QSizeGrip *sizeGrip_ = nullptr;
    QString caption_;
    int gradientColors_ = 64;
    bool paintGradient_ = false;
    QFont captionFont_;
    std::array<QRgb, 256> activeRamp_{};
    std::array<QRgb, 256> inactiveRamp_{};
    TCaptionBar *captionBar_ = nullptr;
    QVBoxLayout *layout_ = nullptr;
    QWidget *client_ = nullptr;
    QSize clientSize_;
    QPointer<QAbstractButton> cancelButton_;
    std::optional<caption::Button> pressedButton_;
    // Where the caption was pressed outside its buttons: a drag from there moves the window.
    std::optional<QPoint> movePressedAt_;
    // The place and size before the maximise button made the window fill the work area.
    std::optional<QRect> zoomedFrom_;
    QPointer<QEventLoop> modalLoop_;
    int modalResult_ = mrNone;
    bool showingModal_ = false;
};
