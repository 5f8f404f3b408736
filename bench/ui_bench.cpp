// Cost of the main window: one full "Рассчитать" click, and the time from process start to the
// main window shown. Runs on the offscreen platform.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <chrono>
#include <cstring>
#include <memory>

#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"

extern char** environ;

namespace {

constexpr const char* kShowAndExit = "--show-main-window-and-exit";

void BM_CalculateClick(benchmark::State& state) {
    kelvo::mainwindow::MainWindow form;
    form.show();
    form.txtP->Write(QStringLiteral("2,5"));
    form.txtL->Write(QStringLiteral("25"));
    for (auto _ : state) {
        form.Command2->Press();
        form.Timer1->Tick();
    }
    state.SetLabel(form.Label4->text().toStdString());
}
BENCHMARK(BM_CalculateClick)->Unit(benchmark::kMicrosecond);

void BM_ReverseClick(benchmark::State& state) {
    kelvo::mainwindow::MainWindow form;
    form.show();
    form.Check3->SetValue(true);
    form.Combo3->Write(QStringLiteral("2,5"));
    for (auto _ : state) {
        form.Command5->Press();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_ReverseClick)->Unit(benchmark::kMicrosecond);

// A fresh process of this program that builds the main window, shows it and exits.
void BM_StartUpToMainWindowShown(benchmark::State& state) {
    char self[] = "/proc/self/exe";
    char flag[64];
    std::strncpy(flag, kShowAndExit, sizeof flag - 1);
    flag[sizeof flag - 1] = '\0';
    char* argv[] = {self, flag, nullptr};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, self, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not show its window");
            break;
        }
        state.SetIterationTime(elapsed.count());
    }
}
BENCHMARK(BM_StartUpToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], kShowAndExit) == 0) {
        QApplication app(argc, argv);
        kelvo::mainwindow::MainWindow form;
        form.show();
        QCoreApplication::processEvents();
        return form.isVisible() ? 0 : 1;
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
