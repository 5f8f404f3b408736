// For the start-up benchmark: with KELVO_STARTUP_REPORT set in the environment, a program
// writes on standard output the wall-clock time (nanoseconds since the epoch) at which its
// window's first frame has been drawn, children included; set to "quit", the program then ends
// (so that a profiler sees the start-up alone). Without it nothing is installed.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace kelvo::shell {

class StartupReport : public QObject {
public:
    static void Install(QWidget* window) {
        if (qEnvironmentVariableIsSet("KELVO_STARTUP_REPORT")) window->installEventFilter(new StartupReport(window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            // The window's children are drawn in the same pass; the report waits for its end,
            // and the report's object then goes, taking its filter with it.
            QTimer::singleShot(0, this, [this] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                deleteLater();
                if (qEnvironmentVariable("KELVO_STARTUP_REPORT") == QLatin1String("quit")) QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit StartupReport(QObject* parent) : QObject(parent) {}
    bool reported_ = false;
};

}  // namespace kelvo::shell
