#include "ui/app/message_presenter.h"
#include "ui/app/single_instance.h"
#include "ui/app/tarvellite_app.h"
#include "ui/mainwindow/app_hooks.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv) {
    using namespace tarvellite::ui;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<int> exitCode = handleInformationOptions(arguments))
        return *exitCode;

    QApplication qtApp(argc, argv);
    // A program already running for this user and display opens the files in its window.
    if (SingleInstance::handOver(commandLineFiles(QApplication::arguments())))
        return 0;
    SingleInstance instance;
    instance.listen();

    installMessageBoxPresenter();
    CTarvelLiteApp app;
    installMainFrameHooks(app);
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    QObject::connect(&instance, &SingleInstance::filesReceived, &app,
                     [&app](const QStringList &files) {
                         QMainWindow *window = app.mainWindow();
                         if (!window)
                             return;
                         for (const QString &file : files)
                             app.hooks().openDocument(app, file);
                         if (window->isMinimized())
                             window->showNormal();
                         window->raise();
                         window->activateWindow();
                     });
    return app.ExitInstance(QApplication::exec());
}
