#include "ui/shell/window_ops.h"

#include <QWidget>
#include <QWindow>

#include "ui/shell/skinned_window.h"

namespace kelvo::shell {
void SetWindowFlagsKeepingPlace(QWidget* window, Qt::WindowFlags flags, bool activate) {
    if (window->windowFlags() == flags) return;
    // Changing the flags of a visible window re-creates it hidden; put it back as it was.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    window->setGeometry(geometry);
    if (visible) {
        const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
        window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    }
}

void ShowTitleBar(SkinnedWindow& window, bool show) {
    using W = SkinnedWindow;
    std::uint32_t bits = window.StyleBits();
    if (!show) {
        window.SetTag(window.Caption());
        window.SetCaption(QString());
        bits &= ~(W::kCaptionBit | W::kSystemMenuBit | W::kMinimiseBoxBit | W::kMaximiseBoxBit);
    } else {
        window.SetCaption(window.Tag());
        if (window.HasControlBox()) bits |= W::kSystemMenuBit;
        if (window.HasMaxButton()) bits |= W::kMaximiseBoxBit;
        if (window.HasMinButton()) bits |= W::kMinimiseBoxBit;
        // Only a window without a caption text gets a title bar back.
        if (window.Caption().isEmpty()) bits |= W::kCaptionBit;
    }
    window.SetStyleBits(bits);
    window.update();
}

void SetAlwaysOnTop(QWidget* window, bool on) {
    if (!window || !window->isWindow()) return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window->windowFlags()) return;
    // Only the stacking changes: the native window that exists keeps its identity, its place and
    // the keyboard focus (setting the widget's flags would re-create it).
    window->overrideWindowFlags(flags);
    if (QWindow* native = window->windowHandle()) native->setFlags(flags);
}

}  // namespace kelvo::shell
