#include "ui/app/message_presenter.h"
#include "ui/app/tarvellite_app.h"
#include "ui/mainwindow/app_hooks.h"

#include <QApplication>

int main(int argc, char **argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<int> exitCode = tarvellite::ui::handleInformationOptions(arguments))
        return *exitCode;

    QApplication qtApp(argc, argv);
    tarvellite::ui::installMessageBoxPresenter();
    tarvellite::ui::CTarvelLiteApp app;
    tarvellite::ui::installMainFrameHooks(app);
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    return app.ExitInstance(QApplication::exec());
}
