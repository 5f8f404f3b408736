#include "ui/shell/skinned_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>

#include "ui/shell/outside_close.h"
#include "ui/shell/pictures.h"
#include "ui/shell/program.h"
#include "ui/shell/skin.h"
#include "ui/shell/window_ops.h"

namespace kelvo::shell {

PictureBox::PictureBox(QWidget* parent, const QString& name) : QLabel(parent) { setObjectName(name); }

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    QLabel::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

ShapeOutline::ShapeOutline(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ShapeOutline::SetBorderColor(const QColor& color) {
    color_ = color;
    update();
}

void ShapeOutline::paintEvent(QPaintEvent*) {
    QPainter p(this);
    FillOutline(p, rect().adjusted(0, 0, -1, -1), color_);
}

SkinnedWindow::SkinnedWindow(const QString& caption, const QString& title_text, int title_picture_top)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      image1_(new PictureBox(this, QStringLiteral("Image1"))),
      picture2_(new PictureBox(this, QStringLiteral("Picture2"))),
      picture1_{new PictureBox(this, QStringLiteral("Picture1(0)")),
                new PictureBox(this, QStringLiteral("Picture1(1)"))},
      shape1_{new ShapeOutline(this, QStringLiteral("Shape1(0)")), new ShapeOutline(this, QStringLiteral("Shape1(1)"))},
      title_picture_top_(title_picture_top) {
    // A window destroyed by another X client does what its close button does (once per program).
    WatchWindowsDestroyedFromOutside(*QCoreApplication::instance());
    SetCaption(caption);
    setFont(UiFont());

    image1_->setScaledContents(true);
    picture2_->setPixmap(QPixmap::fromImage(pictures::TitlePicture(title_text)));
    picture2_->resize(873, 24);
    picture1_[0]->setPixmap(QPixmap::fromImage(pictures::CloseButton()));
    picture1_[1]->setPixmap(QPixmap::fromImage(pictures::MinimiseButton()));
    for (auto* button : picture1_) {
        button->resize(21, 21);
        button->setCursor(Qt::PointingHandCursor);
    }
    picture1_[0]->setToolTip(QStringLiteral("Закрыть"));
    picture1_[1]->setToolTip(QStringLiteral("Свернуть"));
    connect(picture1_[0], &PictureBox::clicked, this, [this] { OnClosePressed(); });
    connect(picture1_[1], &PictureBox::clicked, this, [this] { OnMinimisePressed(); });
    image1_->installEventFilter(this);
    picture2_->installEventFilter(this);
    StackFrame();
}

void SkinnedWindow::ClosedFromOutside() {
    if (QWindow* native = windowHandle()) native->destroy();
    hide();
    OnClosePressed();
}

void SkinnedWindow::StackFrame() {
    shape1_[1]->lower();
    shape1_[0]->lower();
    image1_->lower();
    picture2_->raise();
    picture1_[1]->raise();
    picture1_[0]->raise();
}

void SkinnedWindow::SetStyleBits(std::uint32_t bits) {
    style_bits_ = bits;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    flags.setFlag(Qt::WindowStaysOnTopHint, windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    if ((bits & kCaptionBit) == kCaptionBit) {
        flags |= Qt::WindowTitleHint;
        if (bits & kSystemMenuBit) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (bits & kMinimiseBoxBit) flags |= Qt::WindowMinimizeButtonHint;
        if (bits & kMaximiseBoxBit) flags |= Qt::WindowMaximizeButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    SetWindowFlagsKeepingPlace(this, flags, true);
}

// The windows are laid out for one size: a window manager may not resize or maximise them.
void SkinnedWindow::ResizeTwips(double width, double height) {
    setFixedSize(TwipsToPixelsX(width), TwipsToPixelsY(height));
}

void SkinnedWindow::ApplyFrame() {
    ShowTitleBar(*this, false);
    ShowTitleBar(*this, true);
}

void SkinnedWindow::closeEvent(QCloseEvent* event) {
    if (ProgramEnding()) {
        event->accept();
        return;
    }
    event->ignore();
    OnClosePressed();
}

void SkinnedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutFrame();
}

// Positions are worked out in twips, the unit of the design, then converted to pixels.
void SkinnedWindow::LayoutFrame() {
    SetBackground(this, colors::kBackground);
    shape1_[0]->SetBorderColor(colors::kBorderOuter);
    shape1_[1]->SetBorderColor(colors::kBorderInner);
    const float tx = static_cast<float>(TwipsPerPixelX());
    const float ty = static_cast<float>(TwipsPerPixelY());
    const float w = static_cast<float>(width()) * tx;
    const float h = static_cast<float>(height()) * ty;

    MoveTwips(picture2_, 20, title_picture_top_);
    // The strip goes on where the title picture ends, with the picture's own gradient, as deep as
    // in the windows whose picture stands 40 twips down: under the buttons the bar ends where it
    // ends beside them.
    const int top = picture2_->y();
    const int depth = std::max(top, TwipsToPixelsY(40)) + picture2_->height();
    image1_->setPixmap(QPixmap::fromImage(pictures::TitleStrip(top, depth)));
    image1_->setGeometry(0, 0, width(), depth);
    PlaceTwips(shape1_[0], 0, 0, w, h);
    PlaceTwips(shape1_[1], tx, ty, w - 2 * tx, h - 2 * ty);
    const float close_left = w - static_cast<float>(picture1_[0]->width()) * tx - 40;
    MoveTwips(picture1_[0], close_left, 30);
    MoveTwips(picture1_[1], close_left - static_cast<float>(picture1_[1]->width()) * tx - 20, 30);
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != image1_ && watched != picture2_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) BeginDrag(mouse->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (dragging_by_hand_ && (mouse->buttons() & Qt::LeftButton))
                move(mouse->globalPosition().toPoint() - drag_offset_);
            return dragging_by_hand_;
        }
        case QEvent::MouseButtonRelease:
            dragging_by_hand_ = false;
            return false;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void SkinnedWindow::BeginDrag(const QPoint& global_position) {
    emit dragStarted();
    // The system moves the window where it can; elsewhere the window follows the pointer.
    QWindow* handle = windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_by_hand_ = true;
    drag_offset_ = global_position - pos();
}

}  // namespace kelvo::shell
