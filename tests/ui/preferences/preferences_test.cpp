// The preferences sheet through its real widgets: each checked field's limits and messages,
// Apply, OK and Cancel, pages never shown, the effects on the running program, and page setup
// in each unit stored as the settings record.

#include "core/app/messages.h"
#include "core/app/paper_sizes.h"
#include "ui/app/app_context.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/preferences/preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

struct Messages {
    std::vector<Message> shown;
    ScopedMessagePresenter presenter{[this](const Message &m) {
        shown.push_back(m);
        return m.defaultAnswer;
    }};
};

template <class Page> Page *openPage(CPreferences &sheet, int index) {
    sheet.showPage(index);
    return qobject_cast<Page *>(sheet.page(index));
}

void typeInto(QLineEdit *edit, const QString &text) {
    edit->setText(text);
    emit edit->textEdited(text);
    emit edit->editingFinished();
}

enum PageIndex { GeneralPage = 0, PageSetupPage = 1, Folders = 2, Editing = 3 };

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        context_ = std::make_unique<AppContext>();
        // The user's folders, as start-up makes them.
        Settings &s = context_->mutableSettings();
        const std::string base = home_.path().toStdString() + "/";
        s.defaultUserPath = base;
        s.picturePath = base;
        s.templatePath = base;
        s.backupPath = base;
        s.userDictionaryPath = base;
    }

    void fieldsOutOfRangeAreRefusedWithTheirMessage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("recent documents")
            << int(GeneralPage) << "1130"
            << "20"
            << "Invalid Value: 20; Recent Document Value must be in the range of 0 to 16"
            << "Error setting up Recent Documents Value";
        QTest::newRow("update wait") << int(GeneralPage) << "1243"
                                     << "31"
                                     << "Invalid Value: 31; Please set a value between 1 to 30"
                                     << "Error setting-up initial Wait time for checking Update";
        QTest::newRow("undo levels")
            << int(Editing) << "1138"
            << "200"
            << "Invalid Value: 200; Undo counts must be in the range of 0 to 80"
            << "Error setting-up Undo counts Value";
        QTest::newRow("minimum letters")
            << int(Editing) << "1247"
            << "1"
            << "Invalid Value: 1; Minimum Letters Required must be in the range of 2 to 10"
            << "Error setting-up Minimum Letters Value";
    }

    void fieldsOutOfRangeAreRefusedWithTheirMessage() {
        QFETCH(int, page);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        Messages messages;
        context_->mutableSettings().general.updateWaitMinutes = 5;
        const Settings before = context_->settings();
        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        sheet.show();
        sheet.showPage(page);
        auto *number = sheet.page(page)->findChild<NumberField *>(field);
        QVERIFY(number);
        // Leaving the field tells once, after the focus has settled, and puts it back there.
        typeInto(number->edit(), value);
        QTRY_COMPARE(messages.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(messages.shown[0].text), text);
        QCOMPARE(QString::fromStdString(messages.shown[0].caption), caption);
        // OK refuses too: nothing is stored and the sheet stays open.
        sheet.findChild<QPushButton *>(QStringLiteral("1"))->click();
        QCOMPARE(messages.shown.size(), std::size_t(2));
        QVERIFY(sheet.isVisible());
        QVERIFY(!sheet.applied());
        QVERIFY(context_->settings().general == before.general);
        QVERIFY(context_->settings().editOption == before.editOption);
    }

    void applyOkCancelAndPagesNeverShown() {
        Messages messages;
        const Settings before = context_->settings();
        {
            CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
            QVERIFY(!sheet.applyButton()->isEnabled());
            auto *general = openPage<CPrefGeneral>(sheet, GeneralPage);
            general->unitList()->setCurrentIndex(2);
            QVERIFY(sheet.applyButton()->isEnabled());
            sheet.reject();
        }
        QCOMPARE(context_->settings().general.measureUnit, before.general.measureUnit);

        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        auto *general = openPage<CPrefGeneral>(sheet, GeneralPage);
        general->unitList()->setCurrentIndex(2);
        typeInto(general->recentField()->edit(), QStringLiteral("4"));
        sheet.applyButton()->click();
        QVERIFY(sheet.applied());
        QVERIFY(!sheet.applyButton()->isEnabled());
        QCOMPARE(context_->settings().general.measureUnit, 2);
        QCOMPARE(context_->settings().general.recentDocuments, 4);
        sheet.accept();
        // The folder and editing pages were never shown: their settings are as they were.
        QCOMPARE(context_->settings().backupOption, before.backupOption);
        QCOMPARE(context_->settings().defaultUserPath, before.defaultUserPath);
        QCOMPARE(context_->settings().editOption, before.editOption);
        QVERIFY(messages.shown.empty());
    }

    void appliedSettingsReachTheRunningProgram() {
        Messages messages;
        context_->mutableSettings().backupOption.autoSave = 1;
        CMainFrame frame(*context_);
        CTarvelLiteView *view = frame.newDocument();
        QVERIFY(frame.autoSaveTimerActive());
        CPreferences sheet(*context_, view, CPreferences::Mode::Settings);
        auto *edit = openPage<CPrefEdit>(sheet, Editing);
        typeInto(edit->undoField()->edit(), QStringLiteral("5"));
        typeInto(edit->lettersField()->edit(), QStringLiteral("4"));
        edit->standardButton()->setChecked(true);
        auto *folders = openPage<CPrefFolder>(sheet, Folders);
        folders->autoSaveBox()->setChecked(false);
        sheet.accept();
        QCOMPARE(view->undoLimit(), 5);
        QCOMPARE(frame.newDocument()->undoLimit(), 5);
        QCOMPARE(context_->settings().editOption.lookAheadMinLetters, 4);
        QCOMPARE(context_->settings().editOption.enhancedEditing, 0);
        QVERIFY(!frame.autoSaveTimerActive());
        QVERIFY(messages.shown.empty());
    }

    void autoSaveMinutesAndLookAheadSwitch() {
        context_->mutableSettings().editOption.undoLevels = 200; // stored out of range
        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        auto *folders = openPage<CPrefFolder>(sheet, Folders);
        typeInto(folders->autoSaveField()->edit(), QStringLiteral("0"));
        QCOMPARE(folders->autoSaveField()->value(), 1);
        typeInto(folders->autoSaveField()->edit(), QStringLiteral("150"));
        QCOMPARE(folders->autoSaveField()->value(), 99);
        auto *edit = openPage<CPrefEdit>(sheet, Editing);
        QCOMPARE(edit->undoField()->value(), 40);
        edit->lookAheadBox()->setChecked(false);
        QVERIFY(!edit->lettersField()->isEnabled());
        edit->lookAheadBox()->setChecked(true);
        QCOMPARE(edit->lettersField()->value(), 2);
        edit->lookAheadBox()->setChecked(false);
        edit->accuracySlider()->setValue(7);
        QCOMPARE(edit->accuracyGroup()->title(), QStringLiteral("Dictionary Accuracy Value: 7"));
        sheet.accept();
        QCOMPARE(context_->settings().backupOption.autoSaveMinutes, 99);
        QCOMPARE(context_->settings().editOption.undoLevels, 40);
        QCOMPARE(context_->settings().editOption.lookAheadMinLetters, 0);
        QCOMPARE(context_->settings().editOption.dictionaryAccuracy, 7);
    }

    void foldersMustBeFullPaths() {
        Messages messages;
        QTemporaryDir dir;
        const std::string old = context_->settings().defaultUserPath;
        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        auto *folders = openPage<CPrefFolder>(sheet, Folders);
        typeInto(folders->folderField(0), QStringLiteral("relative/docs"));
        typeInto(folders->folderField(3), dir.path() + QStringLiteral("/backups"));
        sheet.accept();
        QCOMPARE(context_->settings().defaultUserPath, old);
        QCOMPARE(messages.shown.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(messages.shown[0].text).contains("not a full path"));
        QCOMPARE(QString::fromStdString(context_->settings().backupPath),
                 dir.path() + QStringLiteral("/backups/"));
        // The new backup folder has its folder for recovery files at once.
        QVERIFY(QDir(dir.path() + QStringLiteral("/backups/Temp")).exists());
    }

    void unitChosenOnGeneralShowsOnPageSetup() {
        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        auto *page = openPage<CPrefDocument>(sheet, PageSetupPage);
        QCOMPARE(page->marginField(Margin::Left)->text(), QStringLiteral("2.54")); // cm
        auto *general = openPage<CPrefGeneral>(sheet, GeneralPage);
        general->unitList()->setCurrentIndex(2);
        sheet.showPage(PageSetupPage);
        QCOMPARE(page->marginField(Margin::Left)->text(), QStringLiteral("1.00"));
        QCOMPARE(page->unitLabel()->text(), QStringLiteral("All Measurements are in Inches"));
        // Leaving a field that was not changed changes nothing.
        emit page->marginField(Margin::Left)->editingFinished();
        QCOMPARE(page->page().margin(Margin::Left), 1440);
    }

    void pageSetupIsStoredAsTheRecord_data() {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QByteArray>("record");
        // pageSizeIndex, width, height, left, right, top, bottom, two lengths written as 1440,
        // portrait, 1, rulerVisible, 0
        auto record = [](std::initializer_list<std::int32_t> fields) {
            QByteArray bytes;
            for (std::int32_t f : fields)
                for (int i = 0; i < 4; ++i)
                    bytes.append(char((f >> (8 * i)) & 0xFF));
            return bytes;
        };
        QTest::newRow("A4 portrait, centimetres")
            << 1 << 1 << false << "3"
            << record({1, 11906, 16838, 1700, 1440, 1440, 1440, 1440, 1440, 1, 1, 1, 0});
        QTest::newRow("Letter landscape, inches")
            << 2 << 0 << true << "1.5"
            << record({0, 12240, 15840, 2160, 1440, 1440, 1440, 1440, 1440, 0, 1, 1, 0});
        QTest::newRow("custom, millimetres")
            << 0 << -1 << false << "20"
            << record({-1, 11906, 16838, 1133, 1440, 1440, 1440, 1440, 1440, 1, 1, 1, 0});
    }

    void pageSetupIsStoredAsTheRecord() {
        QFETCH(int, unit);
        QFETCH(int, size);
        QFETCH(bool, landscape);
        QFETCH(QString, left);
        QFETCH(QByteArray, record);
        context_->mutableSettings().general.measureUnit = unit;
        CPreferences sheet(*context_, nullptr, CPreferences::Mode::Settings);
        auto *page = openPage<CPrefDocument>(sheet, PageSetupPage);
        page->sizeList()->setCurrentRow(size >= 0 ? size : int(paperSizeCount));
        page->landscapeButton()->setChecked(landscape);
        typeInto(page->marginField(Margin::Left), left);
        sheet.accept();
        const Bytes stored = context_->settings().pageDimensions.toBytes();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(stored.data()), int(stored.size())),
                 record);
    }

    void pageSetupModeAppliesToTheDocument() {
        CMainFrame frame(*context_);
        CTarvelLiteView *view = frame.newDocument();
        const PageDimensions defaults = context_->settings().pageDimensions;
        CPreferences sheet(*context_, view, CPreferences::Mode::PageSetup);
        QCOMPARE(sheet.pageCount(), 1);
        auto *page = openPage<CPrefDocument>(sheet, 0);
        QCOMPARE(page->applyChoiceButton()->text(), QStringLiteral("Set this as Default Option"));
        page->landscapeButton()->setChecked(true);
        sheet.accept();
        QCOMPARE(view->getDocument()->pageLayout().paperWidth, 16838);
        QCOMPARE(view->getDocument()->pageLayout().paperHeight, 11906);
        QCOMPARE(context_->settings().pageDimensions, defaults);

        // With no document open, page setup works on the stored defaults.
        CPreferences alone(*context_, nullptr, CPreferences::Mode::PageSetup);
        auto *defaultsPage = openPage<CPrefDocument>(alone, 0);
        defaultsPage->sizeList()->setCurrentRow(0);
        alone.accept();
        QCOMPARE(context_->settings().pageDimensions.pageSizeIndex, 0);
    }

  private:
    QTemporaryDir home_;
    std::unique_ptr<AppContext> context_;
};

QTEST_MAIN(PreferencesTest)
#include "preferences_test.moc"
