#include "ui/shell/outside_close.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdint>

#include "ui/shell/skinned_window.h"

namespace kelvo::shell {
namespace {

// The X protocol's DestroyNotify event as the xcb library hands it over.
struct DestroyNotify {
    std::uint8_t response_type;
    std::uint8_t pad;
    std::uint16_t sequence;
    std::uint32_t event;
    std::uint32_t window;
};
constexpr std::uint8_t kDestroyNotify = 17;

class DestroyedWindows : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const DestroyNotify*>(message);
        if ((event->response_type & 0x7F) != kDestroyNotify) return false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<SkinnedWindow*>(widget);
            // A window the program destroys itself no longer has its native window by then.
            if (!window || !window->windowHandle() || window->internalWinId() != event->window) continue;
            QTimer::singleShot(0, window, [guarded = QPointer<SkinnedWindow>(window)] {
                if (guarded) guarded->ClosedFromOutside();
            });
        }
        return false;
    }
};

}  // namespace

void WatchWindowsDestroyedFromOutside(QCoreApplication& application) {
    static DestroyedWindows filter;
    static QCoreApplication* watched = nullptr;
    if (watched == &application) return;
    watched = &application;
    application.installNativeEventFilter(&filter);
}

}  // namespace kelvo::shell
