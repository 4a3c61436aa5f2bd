// Start-up to the first painted main window: the program (start-up, main window with its panes,
// an empty document) against a bare QMainWindow with a QTextEdit started the same way. Each
// start is a whole new process; the figures are wall-clock milliseconds from spawning it to its
// exit right after the main window's first paint.
//
//   startup_bench [RUNS]          runs both kinds RUNS times (default 15), alternating, and
//                                 prints minimum, median, maximum and the ratio of the medians
//   startup_bench --bare|--program   one start of that kind (what the driver spawns)
//
// Without DISPLAY the offscreen platform is used; under Xvfb the real window system is.

#include "ui/app/message_presenter.h"
#include "ui/app/tarvellite_app.h"
#include "ui/mainwindow/app_hooks.h"

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

/// Quits the event loop after the first paint of the watched window.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && watched == target) {
            QTimer::singleShot(0, qApp, [] { std::_Exit(0); });
        }
        return false;
    }
    QObject *target = nullptr;
};

int runBare(int argc, char **argv) {
    QApplication app(argc, argv);
    FirstPaint watch;
    QMainWindow window;
    auto *edit = new QTextEdit(&window);
    window.setCentralWidget(edit);
    window.resize(1100, 760);
    watch.target = &window;
    window.installEventFilter(&watch);
    window.show();
    return app.exec();
}

int runProgram(int argc, char **argv) {
    QApplication qtApp(argc, argv);
    tarvellite::ui::installMessageBoxPresenter();
    tarvellite::ui::CTarvelLiteApp::Environment environment;
    environment.programFolder = QStringLiteral(TARVELLITE_PROGRAM_DIR);
    environment.splashMinimumMs = 0;
    tarvellite::ui::CTarvelLiteApp app(std::move(environment));
    tarvellite::ui::installMainFrameHooks(app);
    // The main window is created inside start-up: the first paint of any main window ends it.
    struct Finder : QObject {
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Paint && watched->inherits("QMainWindow")) {
                QTimer::singleShot(0, qApp, [] { std::_Exit(0); });
            }
            return false;
        }
    } finder;
    qtApp.installEventFilter(&finder);
    if (!app.InitInstance({QStringLiteral("tarvellite")}))
        return 1;
    return QApplication::exec();
}

double spawnMs(const char *self, const char *mode) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The children's diagnostics are not part of the report.
        if (!std::getenv("STARTUP_BENCH_VERBOSE"))
            freopen("/dev/null", "w", stderr);
        execl(self, self, mode, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup_bench: %s run failed (status %d)\n", mode, status);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void report(const char *name, std::vector<double> &times) {
    std::sort(times.begin(), times.end());
    std::printf("%-10s min %7.1f ms   median %7.1f ms   max %7.1f ms\n", name, times.front(),
                times[times.size() / 2], times.back());
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--bare")
        return runBare(argc, argv);
    if (mode == "--program")
        return runProgram(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // A settings folder and documents folder of its own, as on a first start.
    QTemporaryDir home;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit().constData(), 1);
    // One start of each to warm the file cache and create the user's folders.
    spawnMs(argv[0], "--bare");
    spawnMs(argv[0], "--program");
    std::vector<double> bare, program;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(spawnMs(argv[0], "--bare"));
        program.push_back(spawnMs(argv[0], "--program"));
    }
    std::printf("start-up to the first painted main window, %d runs each (%s)\n", runs,
                std::getenv("DISPLAY") ? "X11" : "offscreen");
    report("bare", bare);
    report("program", program);
    std::printf("ratio of medians: %.2f\n", program[runs / 2] / bare[runs / 2]);
    return 0;
}
