// The main of every benchmark of the user interface: a QApplication, offscreen unless
// QT_QPA_PLATFORM names another platform (xcb measures a real X server), then the benchmarks.

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
