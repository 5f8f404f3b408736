// The program's own window frame: borderless, with a blue title strip, a title picture,
// minimise and close buttons and a two-pixel border, laid out again on every resize.
#pragma once

#include <QLabel>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>

namespace kelvo::shell {

// A picture box or label that reports presses and clicks.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent, const QString& name);

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A one-pixel rectangle outline painted on the window surface.
class ShapeOutline : public QWidget {
public:
    ShapeOutline(QWidget* parent, const QString& name);
    void SetBorderColor(const QColor& color);
    QColor BorderColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

class SkinnedWindow : public QWidget {
    Q_OBJECT
public:
    // title_text is drawn into the title picture; title_picture_top is 40 twips, or 0 in the
    // message window.
    SkinnedWindow(const QString& caption, const QString& title_text, int title_picture_top);

    PictureBox* Image1() const { return image1_; }
    PictureBox* Picture2() const { return picture2_; }
    PictureBox* Picture1(int index) const { return picture1_.at(static_cast<std::size_t>(index)); }
    ShapeOutline* Shape1(int index) const { return shape1_.at(static_cast<std::size_t>(index)); }

    // The caption the system shows (taskbar); parked in Tag while the title bar is hidden.
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }

    // Design properties that decide which system-menu bits the title bar gets back.
    bool HasControlBox() const { return control_box_; }
    bool HasMinButton() const { return min_button_; }
    bool HasMaxButton() const { return max_button_; }

    // The window's style word: which parts of a system title bar it has. Only a window with
    // the caption bit gets a system frame; the others draw their own.
    static constexpr std::uint32_t kCaptionBit = 0x00C00000;
    static constexpr std::uint32_t kSystemMenuBit = 0x00080000;
    static constexpr std::uint32_t kMinimiseBoxBit = 0x00020000;
    static constexpr std::uint32_t kMaximiseBoxBit = 0x00010000;
    std::uint32_t StyleBits() const { return style_bits_; }
    void SetStyleBits(std::uint32_t bits);

    // Sets the drawing area in twips, and fixes the window at that size.
    void ResizeTwips(double width, double height);

    // Puts the frame elements below every other control; call after the window's own controls
    // are made.
    void StackFrame();

    // The window system destroyed the native window without asking it to close: what is left of
    // it goes, and the window does what its own close button does.
    void ClosedFromOutside();

signals:
    // A left-button press on the title strip or title picture hands the window to the system
    // to move.
    void dragStarted();

protected:
    virtual void OnClosePressed() = 0;
    virtual void OnMinimisePressed() { showMinimized(); }

    void resizeEvent(QResizeEvent* event) override;
    // A close asked for by the window system (Alt+F4, the task bar's "Close") does what the
    // window's own close button does, so that no window is closed past what the program knows.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The load event's frame step: hide the system title bar, then restore it.
    void ApplyFrame();

private:
    void LayoutFrame();
    void BeginDrag(const QPoint& global_position);

    PictureBox* image1_;
    PictureBox* picture2_;
    std::array<PictureBox*, 2> picture1_;
    std::array<ShapeOutline*, 2> shape1_;
    int title_picture_top_;
    QString tag_;
    bool control_box_ = true;
    bool min_button_ = true;
    bool max_button_ = false;
    std::uint32_t style_bits_ = 0;
    bool dragging_by_hand_ = false;
    QPoint drag_offset_;
};

}  // namespace kelvo::shell
