// The program's windows in a real X server with a window manager (tools/x11-test.sh runs this
// under Xvfb and openbox), as a user meets them:
//   stacking   with "Всегда сверху" ticked, the picture viewer, the message window and the
//              schedule window each open above the main window;
//   destroyed  a window destroyed by another X client without being asked to close: the viewer
//              opens again afterwards, and the main window's loss ends the program.
// Exit 0 when all holds; what failed is said on standard error.
#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/main/main_window.h"
#include "ui/schedule/schedule_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"

namespace {

int g_failures = 0;

void Check(bool holds, const char* what) {
    std::fprintf(holds ? stdout : stderr, "%s: %s\n", holds ? "ok" : "FAILED", what);
    std::fflush(nullptr);
    if (!holds) ++g_failures;
}

// Lets the window manager and the program settle.
void Settle(int milliseconds = 400) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Another X client: its own connection to the server.
class OtherClient {
public:
    OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~OtherClient() { xcb_disconnect(connection_); }

    // The top-level frames of the screen from bottom to top, as the server stacks them.
    std::vector<xcb_window_t> Stacking() {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, screen->root), nullptr);
        std::vector<xcb_window_t> windows;
        if (!tree) return windows;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        windows.assign(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
        return windows;
    }
    // The top-level frame (a child of the root) that holds `window`.
    xcb_window_t FrameOf(xcb_window_t window) {
        for (;;) {
            xcb_query_tree_reply_t* tree =
                xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
            if (!tree) return window;
            const xcb_window_t parent = tree->parent, root = tree->root;
            std::free(tree);
            if (parent == root || parent == XCB_NONE) return window;
            window = parent;
        }
    }
    // Whether `upper` is stacked above `lower`.
    bool Above(xcb_window_t upper, xcb_window_t lower) {
        const auto order = Stacking();
        const xcb_window_t top = FrameOf(upper), bottom = FrameOf(lower);
        std::ptrdiff_t upper_at = -1, lower_at = -1;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i] == top) upper_at = static_cast<std::ptrdiff_t>(i);
            if (order[i] == bottom) lower_at = static_cast<std::ptrdiff_t>(i);
        }
        return upper_at >= 0 && lower_at >= 0 && upper_at > lower_at;
    }
    bool Viewable(xcb_window_t window) {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return viewable;
    }
    // The window `window` is kept above as a transient window (WM_TRANSIENT_FOR), or none.
    xcb_window_t TransientFor(xcb_window_t window) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        xcb_window_t owner = XCB_NONE;
        if (reply && xcb_get_property_value_length(reply) >= 4)
            owner = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return owner;
    }
    // Activates `window` as a click on it does: the window manager raises it.
    void Activate(xcb_window_t window) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const char name[] = "_NET_ACTIVE_WINDOW";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        if (!atom) return;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom->atom;
        event.data.data32[0] = 2;  // from a pager, which the window manager obeys as a user's click
        event.data.data32[1] = XCB_CURRENT_TIME;
        std::free(atom);
        xcb_send_event(connection_, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }
    // Asks `window` to close as the window manager's close does (WM_DELETE_WINDOW).
    void Close(xcb_window_t window) {
        const auto atom = [&](const char* name) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
                connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                nullptr);
            const xcb_atom_t found = reply ? reply->atom : XCB_NONE;
            std::free(reply);
            return found;
        };
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }
    void Destroy(xcb_window_t window) {
        xcb_destroy_window(connection_, window);
        xcb_flush(connection_);
    }

private:
    xcb_connection_t* connection_;
};

xcb_window_t Id(QWidget* window) { return static_cast<xcb_window_t>(window->winId()); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "needs an X server (run it through tools/x11-test.sh)\n");
        return 2;
    }
    OtherClient other;
    int status = 0;
    {
        kelvo::mainwindow::MainWindow window;
        window.show();
        Settle();
        window.Check1->SetValue(true);  // "Всегда сверху"
        Settle();

        kelvo::shell::OpenPicture(kelvo::shell::HelpRequest());
        Settle();
        Check(other.Above(Id(&kelvo::shell::Form3()), Id(&window)), "the picture viewer opens above the main window");
        kelvo::shell::ShowMessage(QStringLiteral("Установите сечение"), kelvo::shell::MainWindowWhileShown::Visible,
                                  true);
        Settle();
        Check(other.Above(Id(&kelvo::shell::Form2()), Id(&window)), "the message window opens above the main window");
        QTest::mouseClick(kelvo::shell::Form2().Command2(), Qt::LeftButton);
        window.OpenSchedule(QStringLiteral(KELVO_SOURCE_DIR "/tests/schedule/fixtures/comma.csv"));
        Settle();
        auto* schedule = window.findChild<kelvo::schedulewindow::ScheduleWindow*>();
        Check(schedule && other.Above(Id(schedule), Id(&window)), "the schedule window opens above the main window");
        // A click on the main window raises it, but never over the program's own windows.
        kelvo::shell::ShowMessage(QStringLiteral("Установите сечение"), kelvo::shell::MainWindowWhileShown::Visible,
                                  true);
        Settle();
        Check(other.TransientFor(Id(&kelvo::shell::Form2())) == Id(&window),
              "the message window is the main window's transient");
        other.Activate(Id(&window));
        Settle();
        Check(other.Above(Id(&kelvo::shell::Form3()), Id(&window)),
              "the picture viewer stays above a clicked main window");
        Check(other.Above(Id(&kelvo::shell::Form2()), Id(&window)),
              "the message window stays above a clicked main window");
        Check(schedule && other.Above(Id(schedule), Id(&window)),
              "the schedule window stays above a clicked main window");

        // The message closed by the window manager while the schedule's result is not saved: asked.
        bool asked = false;
        QTimer::singleShot(1500, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    asked = true;
                    box->button(QMessageBox::No)->click();
                }
        });
        other.Close(Id(&kelvo::shell::Form2()));
        Settle(2500);
        Check(asked, "closing a message asks before a schedule's unsaved result is lost");
        Check(kelvo::shell::Form2Exists() && kelvo::shell::Form2().isVisible(),
              "the message stays when the user goes on");
        QTest::mouseClick(kelvo::shell::Form2().Command2(), Qt::LeftButton);
        Settle();

        // The disconnection check opens beside the main window, hiding none of its boxes.
        window.Check7->SetValue(true);
        Settle();
        auto* check = window.findChild<QWidget*>(QStringLiteral("FormDisconnection"));
        if (!check) {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == QLatin1String("FormDisconnection")) check = widget;
        }
        Check(check && check->isVisible() && !check->frameGeometry().intersects(window.frameGeometry()),
              "the disconnection check opens beside the main window");
        if (check) check->close();
        Settle();

        // The viewer destroyed by another client, then opened again.
        other.Destroy(Id(&kelvo::shell::Form3()));
        Settle();
        kelvo::shell::OpenPicture(kelvo::shell::TableRequest(kelvo::shell::pictures::Reference::Power));
        Settle();
        Check(kelvo::shell::Form3Exists() && other.Viewable(Id(&kelvo::shell::Form3())),
              "the picture viewer opens again after another client destroyed it");

        // The main window destroyed by another client: the program ends.
        QTimer::singleShot(0, [&] { other.Destroy(Id(&window)); });
        QTimer::singleShot(5000, [] {
            std::fprintf(stderr, "FAILED: the program kept running without its main window\n");
            std::_Exit(3);
        });
        status = QApplication::exec();
        Check(status == 0, "the program ends when its main window is destroyed from outside");
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return g_failures == 0 ? 0 : 1;
}
