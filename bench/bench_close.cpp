// Time the window program takes to close with no exchange running: File > Exit
// is answered Yes, the main window closes and the application object (main
// window, document, link and its worker) is destroyed, as at the end of a run.
// The program runs on its own settings file and is connected to a simulated
// transmitter, as a technician's is. The time runs from the Yes to the end.
//
//   bench_close [N]   (N closes, default 5; the offscreen platform without a display)
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/CommandTable.h"
#include "app/ui/CMVApp.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "link/LinkSettings.h"
#include "platform/CIniSettingsStore.h"
#include "sim/CSimLine.h"
#include "sim/SimTransmitterOptions.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kGoalMs = 250.0;  // well under half a second

// Milliseconds from the Yes to the exit question to the end of the
// destruction, or a negative value when the program did not start connected
// or did not ask.
double TimeOneClose(const std::string& settingsPath, const std::string& linePath) {
    auto store = std::make_unique<CIniSettingsStore>(settingsPath);
    using namespace settingskeys;
    store->WriteString(kCommPort, kDevicePath, linePath);
    store->WriteString(kCommPort, kCtsDelay, "0");
    auto app = std::make_unique<CMVApp>(std::move(store));
    app->InitInstance(StartupOptions{});
    if (app->Document().PollingAddress() != 1) return -1;
    QApplication::processEvents();

    Clock::time_point start{};
    bool answered = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        answered = true;
        start = Clock::now();
        box->button(QMessageBox::Yes)->click();
    });
    app->Frame()->View().OnCommand(cmd::kAppExit);
    QApplication::processEvents();
    app.reset();
    if (!answered) return -1;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QTemporaryDir settingsDir;
    CSimLine line;
    SimTransmitterOptions options;
    options.turnaroundDelayMs = 0;
    line.AddTransmitter(1, options);
    std::string reason;
    if (!settingsDir.isValid() || !line.Start(&reason)) {
        std::fprintf(stderr, "set-up failed: %s\n", reason.c_str());
        return 1;
    }
    const std::string settingsPath =
        settingsDir.filePath(QStringLiteral("settings.ini")).toStdString();

    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        const double ms = TimeOneClose(settingsPath, line.SlavePath());
        if (ms < 0) {
            std::fprintf(stderr, "the program did not connect, or did not ask before closing\n");
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%d closes with no exchange running (File > Exit, Yes)\n", n);
    std::printf(
        "close time: fastest %.1f ms, median %.1f ms, slowest %.1f ms (goal at most %.0f ms)\n",
        times.front(), times[times.size() / 2], times.back(), kGoalMs);
    return times.back() <= kGoalMs ? 0 : 2;
}
