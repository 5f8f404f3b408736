// A window of which the program has at most one: created the first time it is referred to,
// hidden and released on request, created afresh (with its design values) after that.
#pragma once

#include <QPointer>

namespace kelvo::shell {

template <class Window>
class SingleWindow {
public:
    Window& Get() {
        if (!instance_) instance_ = new Window();
        return *instance_;
    }
    bool Exists() const { return !instance_.isNull(); }
    void Release() {
        if (!instance_) return;
        Window* window = instance_;
        instance_ = nullptr;
        window->hide();
        // Deleted after the event that asked for it: one of its own handlers may still be
        // running.
        window->deleteLater();
    }

private:
    QPointer<Window> instance_;
};

}  // namespace kelvo::shell
