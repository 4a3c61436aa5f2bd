// The QSettings store, the message boxes and start-up and shutdown of the application object.
// HOME and XDG_CONFIG_HOME point into a temporary folder before anything runs, so no test
// touches the real user's settings; every message goes through a scripted presenter.

#include "core/app/archive.h"
#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "ui/app/message_presenter.h"
#include "ui/app/qsettings_store.h"
#include "ui/app/splash.h"
#include "ui/app/tarvellite_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

QString configFile() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") +
           QStringLiteral("/Orvani Software/TarvelLite.conf");
}

/// Records every message and answers with its default.
struct MessageLog {
    std::vector<Message> messages;
    std::vector<bool> splashVisible;
    CTarvelLiteApp *app = nullptr;
    ScopedMessagePresenter presenter{[this](const Message &m) {
        messages.push_back(m);
        splashVisible.push_back(app && app->splash() && app->splash()->isVisible());
        return m.defaultAnswer;
    }};
};

/// The smallest main window start-up accepts: it saves the settings when it closes.
class PlainFrame : public QMainWindow {
  public:
    explicit PlainFrame(CTarvelLiteApp &app) : app_(app) {}

  protected:
    void closeEvent(QCloseEvent *event) override {
        app_.OnClosingMainFrame();
        event->accept();
    }

  private:
    CTarvelLiteApp &app_;
};

void usePlainFrame(CTarvelLiteApp &app, MessageLog &log) {
    log.app = &app;
    app.hooks().createMainFrame = [](CTarvelLiteApp &a) { return new PlainFrame(a); };
}

/// Folders of one start-up: a program folder (with or without the keyboard data) and a
/// documents folder.
struct StartFolders {
    QTemporaryDir root;
    QString program() const { return root.path() + QStringLiteral("/program"); }
    QString documents() const { return root.path() + QStringLiteral("/Documents"); }

    explicit StartFolders(bool withKeyboardData) {
        QDir().mkpath(program());
        if (withKeyboardData)
            QFile::copy(QStringLiteral(TARVELLITE_PROGRAM_DIR "/Kbdentry.dat"),
                        program() + QStringLiteral("/Kbdentry.dat"));
    }

    CTarvelLiteApp::Environment environment(MemorySettingsStore *&store) const {
        CTarvelLiteApp::Environment env;
        env.programFolder = program();
        env.documentsFolder = documents();
        auto owned = std::make_unique<MemorySettingsStore>();
        store = owned.get();
        env.store = std::move(owned);
        env.splashMinimumMs = 0;
        return env;
    }

    /// Every folder below the documents base, relative to it.
    QStringList foldersBelowBase() const {
        QStringList found;
        const QString base = documents() + QStringLiteral("/Orvani Software");
        QDirIterator it(base, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(base).relativeFilePath(it.next());
        found.sort();
        return found;
    }
};

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QSettingsStore().removeAll(); }

    void roundTripThroughTheFile() {
        std::vector<std::pair<std::string, Bytes>> binaries = {
            {"General", General{}.toBytes()},
            {"EditOption", EditOption{}.toBytes()},
            {"Zeros", Bytes(52, 0)},
            {"Every", {}},
        };
        for (int b = 0; b < 256; ++b)
            binaries.back().second.push_back(static_cast<std::uint8_t>(b));
        const std::vector<std::u16string> strings = {u"English",
                                                     u"@ByteArray(looks like one)",
                                                     u"a, b, c",
                                                     u" leading and trailing ",
                                                     u"/tmp/Orvani Software/TarvelLite Docs/",
                                                     u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD",
                                                     u""};
        {
            QSettingsStore store;
            for (const auto &[name, bytes] : binaries)
                store.writeBinary("Preference", name, bytes);
            for (std::size_t i = 0; i < strings.size(); ++i)
                store.writeString("Preference", "S" + std::to_string(i), strings[i]);
            store.writeInt("", "BuildVersion", 320);
            store.writeInt("Language", "Lang2", -7);
            store.writeBinary("DefaultDictionaries", "DefaultDictionary",
                              encodeStringList({u"TA_Tamil", u"HI"}));
            QVERIFY(store.flush());
            QCOMPARE(store.location(), configFile());
        }
        QVERIFY(QFile::exists(configFile()));
        QFile file(configFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Workspace]"));
        QVERIFY(text.contains("BuildVersion=320"));
        QVERIFY(text.contains("Language\\Lang2=-7"));

        QSettingsStore again;
        for (const auto &[name, bytes] : binaries) {
            const auto read = again.readBinary("Preference", name);
            QVERIFY2(read.has_value(), name.c_str());
            QVERIFY2(*read == bytes, name.c_str());
        }
        for (std::size_t i = 0; i < strings.size(); ++i) {
            const auto read = again.readString("Preference", "S" + std::to_string(i));
            QVERIFY(read.has_value());
            QCOMPARE(QString::fromStdU16String(*read), QString::fromStdU16String(strings[i]));
        }
        QCOMPARE(again.readInt("", "BuildVersion"), std::optional<std::int32_t>(320));
        QCOMPARE(again.readInt("Language", "Lang2"), std::optional<std::int32_t>(-7));
        auto list = decodeStringList(*again.readBinary("DefaultDictionaries", "DefaultDictionary"));
        QVERIFY(list.ok());
        QCOMPARE(list->size(), std::size_t(2));
    }

    void valuesOfAnotherTypeReadAsMissing() {
        QSettingsStore store;
        store.writeString("Preference", "TabbedMode", u"yes");
        store.writeString("Preference", "General", u"not a record");
        store.writeBinary("Preference", "HelpLanguage", Bytes{1, 2});
        store.writeString("", "Big", u"99999999999");
        QVERIFY(store.flush());
        QSettingsStore again;
        QVERIFY(!again.readInt("Preference", "TabbedMode"));
        QVERIFY(!again.readBinary("Preference", "General"));
        QVERIFY(!again.readString("Preference", "HelpLanguage"));
        QVERIFY(!again.readInt("", "Big"));
        QVERIFY(!again.readInt("", "Missing"));
    }

    void removeAllWipesTheFrameworkStateToo() {
        QSettings other(QSettings::NativeFormat, QSettings::UserScope,
                        QStringLiteral("Orvani Software"), QStringLiteral("TarvelLite"));
        other.setValue(QStringLiteral("MainWindow/geometry"), QByteArray("xyz"));
        other.sync();
        QSettingsStore store;
        store.writeInt("", "BuildVersion", 319);
        store.removeAll();
        QSettingsStore again;
        QVERIFY(!again.readInt("", "BuildVersion"));
        QSettings check(QSettings::NativeFormat, QSettings::UserScope,
                        QStringLiteral("Orvani Software"), QStringLiteral("TarvelLite"));
        QVERIFY(check.allKeys().isEmpty());
    }
};

class MessageBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheExactTextAndReturnsTheButtonPressed() {
        Message m;
        m.text = "Save changes to Document1?\n\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD";
        m.icon = MessageIcon::Question;
        m.buttons = MessageButtons::YesNoCancel;
        QString seenText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            seenIcon = box->icon();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(presentInMessageBox(m), MessageAnswer::No);
        QCOMPARE(seenText, QString::fromStdString(m.text));
        QCOMPARE(seenIcon, QMessageBox::Question);
    }
};

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void informationOptionsExitBeforeStartUp() {
        QCOMPARE(handleInformationOptions({"tarvellite", "--version"}), std::optional<int>(0));
        QCOMPARE(handleInformationOptions({"tarvellite", "--help"}), std::optional<int>(0));
        QCOMPARE(handleInformationOptions({"tarvellite", "a.tvl"}), std::nullopt);
        QCOMPARE(handleInformationOptions({"tarvellite", "--", "--help"}), std::nullopt);
    }

    void missingKeyboardDataEndsStartUpBeforeTheSettings() {
        StartFolders folders(false);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        QVERIFY(!app.InitInstance({"tarvellite"}));
        QCOMPARE(log.messages.size(), std::size_t(1));
        QCOMPARE(log.messages[0].text,
                 std::string("Keyboard Data file not found. Unable to Proceed"));
        // The splash closes before a start-up message shows.
        QVERIFY(!log.splashVisible[0]);
        QVERIFY(!app.splash());
        QVERIFY(!app.mainWindow());
        QVERIFY(store->writeLog().empty());
        QCOMPARE(store->removeAllCount(), 0);
        QCOMPARE(folders.foldersBelowBase(), QStringList{"Upgrade"});
    }

    void damagedKeyboardDataEndsStartUp() {
        StartFolders folders(false);
        QFile bad(folders.program() + QStringLiteral("/Kbdentry.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray::fromHex("fd0a0000e8030000") + QByteArray(40, '\0'));
        bad.close();
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        QVERIFY(!app.InitInstance({"tarvellite"}));
        QCOMPARE(log.messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(log.messages[0].text).contains("damaged"));
        QVERIFY(store->writeLog().empty());
    }

    void missingRichTextComponentShowsItsMessageAfterTheSplash() {
        StartFolders folders(true);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        auto env = folders.environment(store);
        env.richTextCheck = [] { return false; };
        CTarvelLiteApp app(std::move(env));
        usePlainFrame(app, log);
        QVERIFY(!app.InitInstance({"tarvellite"}));
        QCOMPARE(log.messages.size(), std::size_t(1));
        QCOMPARE(log.messages[0].text, std::string("Could not load the RichControl Dll."));
        QCOMPARE(log.messages[0].icon, MessageIcon::Warning);
        // The splash closes before a start-up message shows.
        QVERIFY(!log.splashVisible[0]);
        QVERIFY(!app.splash());
        QVERIFY(app.keyboardTables().languageTable.empty());
        QVERIFY(store->writeLog().empty());
        QCOMPARE(store->removeAllCount(), 0);
    }

    void theRealRichTextCheckPasses() { QVERIFY(CTarvelLiteApp::richTextComponentAvailable()); }

    void hooksThatFailEndStartUp_data() {
        QTest::addColumn<QString>("failing");
        QTest::newRow("main frame") << "frame";
        QTest::newRow("command line file") << "open";
        QTest::newRow("new document") << "new";
    }

    void hooksThatFailEndStartUp() {
        QFETCH(QString, failing);
        StartFolders folders(true);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        if (failing == "frame")
            app.hooks().createMainFrame = [](CTarvelLiteApp &) { return nullptr; };
        if (failing == "open")
            app.hooks().openDocument = [](CTarvelLiteApp &, const QString &) { return false; };
        if (failing == "new")
            app.hooks().newDocument = [](CTarvelLiteApp &) { return false; };
        const QStringList arguments =
            failing == "new" ? QStringList{"tarvellite"} : QStringList{"tarvellite", "missing.tvl"};
        QVERIFY(!app.InitInstance(arguments));
        QVERIFY(!app.splash());
        QVERIFY(store->writeLog().empty());
    }

    void startsShowsTheWindowAndSavesOnceOnClose() {
        StartFolders folders(true);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        QStringList opened;
        int steps = 0;
        app.hooks().openDocument = [&](CTarvelLiteApp &, const QString &path) {
            opened << path;
            return true;
        };
        app.hooks().findDictionaries = [&](CTarvelLiteApp &a) {
            // The settings are loaded by then.
            QCOMPARE(a.inputContext().currentLanguageIndex(), 0);
            ++steps;
        };
        QVERIFY(app.busy());
        QVERIFY(app.InitInstance({"tarvellite", "one.tvl", "two.rtf"}));
        QVERIFY(log.messages.empty());
        QCOMPARE(steps, 1);
        QCOMPARE(opened, (QStringList{"one.tvl", "two.rtf"}));
        QVERIFY(app.mainWindow() && app.mainWindow()->isVisible());
        QVERIFY(!app.busy());
        QTRY_VERIFY(!app.splash());
        QCOMPARE(app.settings().definedLang,
                 static_cast<int>(app.keyboardTables().languageTable.size()));
        QCOMPARE(app.settings().defaultFont, std::u16string(u"Arial"));
        QCOMPARE(QString::fromStdString(app.documentsBase()),
                 folders.documents() + "/Orvani Software/");
        QVERIFY(folders.foldersBelowBase().contains("Backup/Temp"));
        // Nothing is written before the window closes (the first run's reset aside).
        QVERIFY(store->writeLog().empty());

        app.inputContext().SelectLanguage(3);
        QVERIFY(app.mainWindow()->close());
        const std::size_t written = store->writeLog().size();
        QVERIFY(written > 0);
        QCOMPARE(std::get<std::int32_t>(store->values().at("Workspace/BuildVersion")), 320);
        QCOMPARE(std::get<std::int32_t>(store->values().at("Workspace/Language/DefaultLang")), 3);
        QCOMPARE(std::get<std::int32_t>(store->values().at("Workspace/Language/PrevLang")), 0);
        app.OnClosingMainFrame();
        QCOMPARE(store->writeLog().size(), written);
    }

    void closingWritesTheSettingsFile() {
        QSettingsStore().removeAll();
        StartFolders folders(true);
        MessageLog log;
        CTarvelLiteApp::Environment env;
        env.programFolder = folders.program();
        env.documentsFolder = folders.documents();
        env.splashMinimumMs = 0;
        CTarvelLiteApp app(std::move(env));
        usePlainFrame(app, log);
        QVERIFY(app.InitInstance({"tarvellite"}));
        QVERIFY(!QSettingsStore().readInt("", "BuildVersion"));
        app.mainWindow()->close();
        QSettingsStore written;
        QCOMPARE(written.readInt("", "BuildVersion"), std::optional<std::int32_t>(320));
        QCOMPARE(written.readBinary("Preference", "EditOption")->size(), std::size_t(88));
        QCOMPARE(written.readBinary("Preference", "PageDimensions")->size(), std::size_t(52));
    }

    void terminationSignalClosesTheWindowAndSaves() {
        StartFolders folders(true);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        QVERIFY(app.InitInstance({"tarvellite"}));
        QSignalSpy saved(&app, &CTarvelLiteApp::settingsWritten);
        std::raise(SIGTERM);
        QTRY_COMPARE(saved.count(), 1);
        QVERIFY(!app.mainWindow()->isVisible());
        QVERIFY(!store->writeLog().empty());
    }

    // A hang-up first writes what would be lost, then closes as Exit does: after a dialog the user
    // is answering has been answered, never under it.
    void hangUpWritesFirstAndClosesAfterTheOpenDialog() {
        StartFolders folders(true);
        MessageLog log;
        MemorySettingsStore *store = nullptr;
        CTarvelLiteApp app(folders.environment(store));
        usePlainFrame(app, log);
        QStringList steps;
        app.hooks().beforeTermination = [&](CTarvelLiteApp &a) {
            steps << QStringLiteral("copies written, window shown: %1")
                         .arg(a.mainWindow()->isVisible());
        };
        QVERIFY(app.InitInstance({"tarvellite"}));
        QSignalSpy saved(&app, &CTarvelLiteApp::settingsWritten);
        QDialog dialog(app.mainWindow());
        QTimer::singleShot(0, [&] {
            std::raise(SIGHUP);
            QTRY_COMPARE(steps.size(), 1);
            QTest::qWait(300);
            steps << QStringLiteral("under the dialog, window shown: %1")
                         .arg(app.mainWindow()->isVisible());
            dialog.reject();
        });
        dialog.exec();
        QTRY_COMPARE(saved.count(), 1);
        QCOMPARE(steps, (QStringList{QStringLiteral("copies written, window shown: 1"),
                                     QStringLiteral("under the dialog, window shown: 1")}));
        QVERIFY(!app.mainWindow()->isVisible());
    }
};

int main(int argc, char **argv) {
    // A home of our own before Qt reads any path.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    int failed = 0;
    {
        SettingsStoreTest t;
        failed |= QTest::qExec(&t, argc, argv);
    }
    {
        MessageBoxTest t;
        failed |= QTest::qExec(&t, argc, argv);
    }
    {
        StartupTest t;
        failed |= QTest::qExec(&t, argc, argv);
    }
    return failed;
}

#include "app_ui_test.moc"
