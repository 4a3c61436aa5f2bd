#include "ui/app/tarvellite_app.h"

#include "core/app/messages.h"
#include "ui/app/qsettings_store.h"
#include "ui/app/splash.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvellite::ui {

namespace {

/// The write end is used by the signal handler; the read end wakes the event loop.
int terminationPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
    const char byte = 1;
    if (terminationPipe[1] >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(terminationPipe[1], &byte, 1);
    }
}

std::string folderString(const QString &path) {
    return QDir::cleanPath(path).toStdString();
}

} // namespace

CTarvelLiteApp::CTarvelLiteApp(QObject *parent) : CTarvelLiteApp(Environment{}, parent) {}

CTarvelLiteApp::CTarvelLiteApp(Environment environment, QObject *parent)
    : QObject(parent), environment_(std::move(environment)) {
    QCoreApplication::setOrganizationName(QString::fromUtf8(makerName));
    QCoreApplication::setApplicationName(QString::fromUtf8(productName));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1 (build %2)").arg(appVersion).arg(buildVersion));
    store_ =
        environment_.store ? std::move(environment_.store) : std::make_unique<QSettingsStore>();
    settings_ = Settings::defaults(folders_, legacyFontFlag_);
}

CTarvelLiteApp::~CTarvelLiteApp() {
    closeSplash();
    if (terminationNotifier_) {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
        delete terminationNotifier_;
        ::close(terminationPipe[0]);
        ::close(terminationPipe[1]);
        terminationPipe[0] = terminationPipe[1] = -1;
    }
    delete mainWindow_.data();
}

bool CTarvelLiteApp::richTextComponentAvailable() {
    QTextEdit edit;
    edit.setHtml(QStringLiteral("<p><b>k</b>a</p>"));
    return edit.document() && edit.document()->characterCount() > 1 &&
           edit.toHtml().contains(QStringLiteral("font-weight"));
}

bool CTarvelLiteApp::InitInstance(const QStringList &arguments) {
    // A message during start-up closes the splash first, so that it is never hidden behind it.
    struct SplashClosingPresenter {
        MessagePresenter outer;
        explicit SplashClosingPresenter(CTarvelLiteApp &app) {
            outer = setMessagePresenter({});
            setMessagePresenter([&app, outer = outer](const Message &message) {
                app.closeSplash();
                return outer ? outer(message) : message.defaultAnswer;
            });
        }
        ~SplashClosingPresenter() { setMessagePresenter(std::move(outer)); }
    } messagesOverSplash(*this);

    // Folders: the program's, then the user's with the update folder.
    const QString programFolder = environment_.programFolder.isEmpty()
                                      ? QString::fromStdString(programDataFolder(
                                            QCoreApplication::applicationDirPath().toStdString()))
                                      : environment_.programFolder;
    QString documents = environment_.documentsFolder;
    if (documents.isEmpty())
        documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath() + QStringLiteral("/Documents");
    folders_ = computeFolders(folderString(programFolder), folderString(documents));
    createFolderPath(folders_.updateFolder());
    settings_ = Settings::defaults(folders_, legacyFontFlag_);

    // The window look, then the splash at once.
    settings_.applicationLook = readApplicationLook(*store_);
    splash_ = new CSplash(settings_.applicationLook);
    splash_->show();
    splash_->repaint();
    QCoreApplication::processEvents();
    splashShownAtMs_ = QDateTime::currentMSecsSinceEpoch();

    const bool richText =
        environment_.richTextCheck ? environment_.richTextCheck() : richTextComponentAvailable();
    if (!richText) {
        showMessage("Could not load the RichControl Dll.", MessageIcon::Warning);
        closeSplash();
        return false;
    }

    if (!LoadKeyboardData(folders_.programFolder, keyboardTables_)) {
        closeSplash();
        return false;
    }

    settings_ = LoadSettings(*store_, folders_, legacyFontFlag_, languageState_);
    measureUnit_ = settings_.general.measureUnit;
    if (hooks_.findDictionaries)
        hooks_.findDictionaries(*this);

    QMainWindow *frame = hooks_.createMainFrame ? hooks_.createMainFrame(*this) : nullptr;
    if (!frame) {
        closeSplash();
        return false;
    }
    mainWindow_ = frame;
    frame->setAcceptDrops(true);
    installTerminationHandlers();

    // The command line: files to open, after any recovery files of an earlier run.
    commandLineFiles_.clear();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
            std::fprintf(stderr, "%s: ignoring unknown option %s\n", productName,
                         arg.toLocal8Bit().constData());
        else
            commandLineFiles_.append(arg);
    }
    const int recovered = hooks_.reopenRecoveryFiles ? hooks_.reopenRecoveryFiles(*this) : 0;
    bool processed = true;
    if (commandLineFiles_.isEmpty() && recovered == 0) {
        if (hooks_.newDocument)
            processed = hooks_.newDocument(*this);
    } else if (hooks_.openDocument) {
        for (const QString &file : commandLineFiles_)
            processed = hooks_.openDocument(*this, file) && processed;
    }
    if (!processed) {
        closeSplash();
        return false;
    }

    frame->show();
    frame->repaint();
    startUpBusy_.reset();
    closeSplashWhenShownLongEnough();
    return true;
}

int CTarvelLiteApp::ExitInstance(int loopResult) {
    return loopResult;
}

void CTarvelLiteApp::OnClosingMainFrame() {
    if (settingsSaved_)
        return;
    settingsSaved_ = true;
    if (hooks_.storeWindowState)
        hooks_.storeWindowState(*this);
    BusyGuard busy(context_.busyFlag());
    if (!SaveSettings(*store_, settings_, languageState_))
        std::fprintf(stderr, "%s: the settings could not be written\n", productName);
    emit settingsWritten();
}

void CTarvelLiteApp::closeSplash() {
    if (splash_) {
        splash_->close();
        splash_->deleteLater();
        splash_ = nullptr;
    }
}

void CTarvelLiteApp::closeSplashWhenShownLongEnough() {
    const qint64 shownFor = QDateTime::currentMSecsSinceEpoch() - splashShownAtMs_;
    const qint64 left = environment_.splashMinimumMs - shownFor;
    if (left <= 0) {
        closeSplash();
        return;
    }
    // Keep it in front of the window that has just appeared, until its time is up.
    if (splash_)
        splash_->raise();
    QTimer::singleShot(static_cast<int>(left), this, &CTarvelLiteApp::closeSplash);
}

void CTarvelLiteApp::installTerminationHandlers() {
    if (terminationNotifier_)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    // The desktop session ending asks the same.
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this] {
            if (hooks_.beforeTermination)
                hooks_.beforeTermination(*this);
        });
    terminationNotifier_ = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, this);
    connect(terminationNotifier_, &QSocketNotifier::activated, this,
            &CTarvelLiteApp::terminationRequested);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void CTarvelLiteApp::terminationRequested() {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(terminationPipe[0], &byte, 1);
    // First what would be lost if the program were killed next (as a logout does a few seconds
    // later), then as the Exit command: close the main window, which saves the settings.
    if (hooks_.beforeTermination)
        hooks_.beforeTermination(*this);
    closeWhenNoDialogIsOpen();
}

void CTarvelLiteApp::closeWhenNoDialogIsOpen() {
    if (!mainWindow_) {
        QCoreApplication::quit();
        return;
    }
    // A dialog or question the user is answering finishes first (its own loop runs inside the
    // close); the recovery copies are already written.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, &CTarvelLiteApp::closeWhenNoDialogIsOpen);
        return;
    }
    mainWindow_->close();
}

std::optional<int> handleInformationOptions(const QStringList &arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            std::printf("%s version %d build %d\n", productName, appVersion, buildVersion);
            return 0;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::printf("Usage: tarvellite [options] [file...]\n"
                        "A word processor for Indian-language text.\n\n"
                        "Options:\n"
                        "  -h, --help     Show this help and exit.\n"
                        "  -v, --version  Show the version and exit.\n\n"
                        "Files named on the command line are opened as documents.\n");
            return 0;
        }
        if (arg == QLatin1String("--"))
            break;
    }
    return std::nullopt;
}

} // namespace tarvellite::ui
