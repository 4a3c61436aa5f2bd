// The drop-downs of the command buttons: the colour palettes and their recent colours, the
// paragraph galleries, the Undo list, the Dictionary and Keyboard lists with their check marks,
// and the User Dictionary command.

#include "core/app/messages.h"
#include "core/spelling/dictionary_registry.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/tarvellite_view.h"
#include "ui/input/kbd_dialog.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/mainwindow/ribbon/colour_menu.h"
#include "ui/mainwindow/ribbon/paragraph_gallery.h"
#include "ui/mainwindow/ribbon/ribbon_bar.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QToolButton>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

/// `languages` languages named "Language i" with codes from `codes`, language i having
/// `keyboards[i]` keyboards named "Keyboard i.j".
void fillTables(KeyboardTables &tables, const std::vector<std::string> &codes,
                const std::vector<int> &keyboards) {
    tables = KeyboardTables{};
    tables.languageCodes = codes;
    int first = 0;
    for (std::size_t i = 0; i < keyboards.size(); ++i) {
        LANGDETAILS language;
        language.name = QStringLiteral("Language %1").arg(i).toStdU16String();
        language.keyboardsInLanguage = keyboards[i];
        language.firstKeyboard = first;
        tables.languageTable.push_back(language);
        for (int j = 0; j < keyboards[i]; ++j) {
            tables.keyboardTypeTable.push_back(
                {QStringLiteral("Keyboard %1.%2").arg(i).arg(j).toStdU16String(), 0});
            tables.keyboardDataTable.push_back(KBDDATA{});
        }
        first += keyboards[i];
    }
}

QStringList texts(const QList<QAction *> &actions) {
    QStringList list;
    for (const QAction *a : actions)
        list << a->text();
    return list;
}

QList<int> checkedEntries(const QMenu *menu) {
    QList<int> checked;
    for (int i = 0; i < menu->actions().size(); ++i)
        if (menu->actions().at(i)->isChecked())
            checked << i;
    return checked;
}

QAction *entry(const QMenu *menu, const QString &name) {
    for (QAction *a : menu->actions()) {
        if (a->objectName() == name)
            return a;
        if (a->menu())
            if (QAction *inner = entry(a->menu(), name))
                return inner;
    }
    return nullptr;
}

QMenu *opened(QMenu *menu) {
    emit menu->aboutToShow();
    return menu;
}

} // namespace

class RibbonMenusTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void keyboardMenuFollowsTheSelection();
    void keyboardMenuBeyondTheIdRange();
    void dictionaryMenuNamesAndChecks();
    void noDictionaryInstalled();
    void userDictionaryRestoresTheSelection();
    void undoDropDown();
    void colourPalettes();
    void chosenColoursApplyAndAreRemembered();
    void paragraphGalleries();
    void menuBarKeepsOneClickToggles();

  private:
    void makeFrame();
    void installDictionaries(const QStringList &names);
    QTemporaryDir dir_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    QStringList messages_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

void RibbonMenusTest::init() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
    messages_.clear();
    presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
        messages_ << QString::fromStdString(m.text);
        return m.defaultAnswer;
    });
    context_ = std::make_unique<AppContext>();
    // English, Hindi and Tamil, two keyboards each; Tamil is current.
    fillTables(context_->keyboardTables(), {"EN", "HI", "TA"}, {2, 2, 2});
    context_->inputContext().SelectLanguage(2);
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("user")));
    context_->mutableSettings().userDictionaryPath =
        dir_.filePath(QStringLiteral("user/")).toStdString();
}

void RibbonMenusTest::cleanup() {
    frame_.reset();
    context_.reset();
    presenter_.reset();
    QDir(dir_.filePath(QStringLiteral("dic"))).removeRecursively();
}

void RibbonMenusTest::makeFrame() {
    frame_ = std::make_unique<CMainFrame>(*context_);
}

void RibbonMenusTest::installDictionaries(const QStringList &names) {
    const QString folder = dir_.filePath(QStringLiteral("dic"));
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : names)
        QVERIFY(
            QFile::copy(QStringLiteral(TARVELLITE_SOURCE_DIR "/tests/data/spelling/mini-ta.dic"),
                        folder + QLatin1Char('/') + name + QStringLiteral(".dic")));
    QCOMPARE(context_->dictionaries().ScanDictionaries((folder + QLatin1Char('/')).toStdString()),
             int(names.size()));
}

void RibbonMenusTest::keyboardMenuFollowsTheSelection() {
    makeFrame();
    QMenu *menu = frame_->command(ID_CHKKBD)->menu();
    QVERIFY(menu);
    QCOMPARE(texts(menu->actions()), (QStringList{"Language 0", "Language 1", "Language 2"}));
    // Languages 32901 … 32903, keyboard j of language i 32911 + 10·i + j.
    for (int id : {32901, 32902, 32903, 32911, 32912, 32921, 32922, 32931, 32932})
        QVERIFY2(entry(menu, QString::number(id)), qPrintable(QString::number(id)));
    QCOMPARE(entry(menu, "32922")->text(), QStringLiteral("Keyboard 1.1"));
    QCOMPARE(checkedEntries(menu), QList<int>{2});
    QCOMPARE(checkedEntries(entry(menu, "32903")->menu()), QList<int>{0});

    // Language 1, keyboard 1: selected through the on-screen keyboard's lists; the marks follow.
    entry(menu, "32922")->trigger();
    const InputContext &input = context_->inputContext();
    QCOMPARE(input.currentLanguageIndex(), 1);
    QCOMPARE(input.currentLanguage().selectedKeyboard, 1);
    CKbdDialog *keyboard = frame_->keyboardPane()->dialog();
    QCOMPARE(keyboard->languageList()->currentIndex(), 1);
    QCOMPARE(keyboard->keyboardList()->currentIndex(), 1);
    QCOMPARE(checkedEntries(menu), QList<int>{1});
    QCOMPARE(checkedEntries(entry(menu, "32902")->menu()), QList<int>{1});
    // Entries of the menu replaced are no longer found by name, even before they are deleted.
    QCOMPARE(frame_->findChildren<QAction *>(QStringLiteral("32922")).size(), 1);

    // A language entry selects its language with the keyboard it had.
    entry(menu, "32901")->trigger();
    QCOMPARE(input.currentLanguageIndex(), 0);
    QCOMPARE(keyboard->languageList()->currentIndex(), 0);
    QCOMPARE(checkedEntries(menu), QList<int>{0});
    entry(menu, "32902")->trigger();
    QCOMPARE(input.currentLanguageIndex(), 1);
    QCOMPARE(input.currentLanguage().selectedKeyboard, 1);

    // Choosing what is already chosen keeps its mark.
    entry(menu, "32902")->trigger();
    QCOMPARE(checkedEntries(menu), QList<int>{1});

    // The on-screen keyboard's own lists (F3 here) move the marks too.
    frame_->CycleInputSelection(false);
    QCOMPARE(checkedEntries(entry(menu, "32902")->menu()), QList<int>{0});
}

void RibbonMenusTest::keyboardMenuBeyondTheIdRange() {
    // Eleven languages, the first with twelve keyboards: entries past the ids still work.
    std::vector<int> keyboards(11, 1);
    keyboards[0] = 12;
    fillTables(context_->keyboardTables(),
               {"EN", "HI", "KN", "TA", "TE", "ML", "SI", "X1", "X2", "X3", "X4"}, keyboards);
    context_->inputContext().SelectLanguage(0);
    makeFrame();
    QMenu *menu = frame_->command(ID_CHKKBD)->menu();
    QCOMPARE(menu->actions().size(), 11);
    QAction *last = entry(menu, "32846-10");
    QVERIFY(last);
    last->trigger();
    QCOMPARE(context_->inputContext().currentLanguageIndex(), 10);
    QAction *twelfth = entry(menu, "32846-0-11");
    QVERIFY(twelfth);
    QCOMPARE(twelfth->text(), QStringLiteral("Keyboard 0.11"));
    twelfth->trigger();
    QCOMPARE(context_->inputContext().currentLanguageIndex(), 0);
    QCOMPARE(context_->inputContext().currentLanguage().selectedKeyboard, 11);
    QCOMPARE(checkedEntries(entry(menu, "32901")->menu()), QList<int>{11});
}

void RibbonMenusTest::dictionaryMenuNamesAndChecks() {
    installDictionaries({"hi-IN", "ta-IN", "ta-Local"});
    makeFrame();
    QCOMPARE(frame_->localeNames().size(), 21);
    QCOMPARE(frame_->localeNames().value("ta-IN"),
             (QPair<QString, QString>("ta-IN", "Tamil (India)")));
    QMenu *menu = frame_->command(ID_DICTIONARY)->menu();
    QVERIFY(menu);
    // A locale code shows its display name; any other name shows as it is.
    QCOMPARE(texts(menu->actions()), (QStringList{"Hindi (India)", "Tamil (India)", "ta-Local"}));
    QCOMPARE(menu->actions().at(2)->objectName(), QStringLiteral("301"));
    // Nothing is marked before the look-ahead has loaded a dictionary.
    QCOMPARE(frame_->checkedDictionary(), -1);
    QCOMPARE(checkedEntries(menu), QList<int>{});

    frame_->keyboardPane()->refreshDictionaryStatus(true);
    QCOMPARE(frame_->checkedDictionary(), 1);
    QCOMPARE(checkedEntries(menu), QList<int>{1});
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("ta-IN Dictionary loaded"));

    // Another language's dictionary becomes that language's choice; no mark moves.
    menu->actions().at(0)->trigger();
    QCOMPARE(checkedEntries(menu), QList<int>{1});
    QCOMPARE(frame_->checkedDictionary(), 1);
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("ta-IN Dictionary loaded"));
    QVERIFY(std::ranges::count(context_->settings().defaultDictionaries, u"hi-IN") == 1);

    // One of the current language moves the mark and is loaded.
    menu->actions().at(2)->trigger();
    QCOMPARE(checkedEntries(menu), QList<int>{2});
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("ta-Local Dictionary loaded"));

    // One that cannot be loaded leaves the mark, the status and the choice where they were.
    QVERIFY(QFile::remove(dir_.filePath(QStringLiteral("dic/ta-IN.dic"))));
    menu->actions().at(1)->trigger();
    QCOMPARE(checkedEntries(menu), QList<int>{2});
    QCOMPARE(frame_->checkedDictionary(), 2);
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("ta-Local Dictionary loaded"));
    QVERIFY(frame_->statusBar()->currentMessage().contains(QStringLiteral("ta-IN")));
    QVERIFY(std::ranges::count(context_->settings().defaultDictionaries, u"ta-Local") == 1);
    QVERIFY(frame_->keyboardPane()->lookupDictionary()->lookupDictionary());

    // -2 clears the mark; -1 marks what is loaded.
    QCOMPARE(frame_->MarkLoadedDictionary(-2), -1);
    QCOMPARE(checkedEntries(menu), QList<int>{});
    QCOMPARE(frame_->MarkLoadedDictionary(-1), 2);
    QCOMPARE(checkedEntries(menu), QList<int>{2});
}

void RibbonMenusTest::noDictionaryInstalled() {
    makeFrame();
    QVERIFY(frame_->command(ID_DICTIONARY)->menu()->actions().isEmpty());
    QCOMPARE(frame_->MarkLoadedDictionary(3), 0);
    QAction *userDictionary = frame_->command(ID_BTNUSRDICT);
    QVERIFY(userDictionary);
    QCOMPARE(userDictionary->text(), QStringLiteral("User Dictionary"));
    bool editorRan = false;
    frame_->userDictionaryEditor = [&] { editorRan = true; };
    userDictionary->trigger();
    QCOMPARE(messages_,
             QStringList{QStringLiteral("No Dictionary found. User Dictionary cannot be edited")});
    QVERIFY(!editorRan);
}

void RibbonMenusTest::userDictionaryRestoresTheSelection() {
    installDictionaries({"hi-IN", "ta-IN"});
    makeFrame();
    frame_->keyboardPane()->refreshDictionaryStatus(true);
    InputContext &input = context_->inputContext();
    input.SelectKeyboard(1);
    // The editor shows a Hindi dictionary, which switches the input to Hindi.
    frame_->userDictionaryEditor = [&] {
        input.SelectLanguage(1);
        input.SelectKeyboard(0);
    };
    frame_->command(ID_BTNUSRDICT)->trigger();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(input.currentLanguageIndex(), 2);
    QCOMPARE(input.currentLanguage().selectedKeyboard, 1);
    CKbdDialog *keyboard = frame_->keyboardPane()->dialog();
    QCOMPARE(keyboard->languageList()->currentIndex(), 2);
    QCOMPARE(keyboard->keyboardList()->currentIndex(), 1);
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("ta-IN Dictionary loaded"));
    QCOMPARE(checkedEntries(frame_->command(ID_CHKKBD)->menu()), QList<int>{2});
}

void RibbonMenusTest::undoDropDown() {
    makeFrame();
    QMenu *menu = frame_->command(ID_EDIT_UNDO)->menu();
    QVERIFY(menu);
    // Without a document every entry is off.
    opened(menu);
    QCOMPARE(texts(menu->actions()), (QStringList{"Undo Item 1", "Undo Item 2", "Undo Item 3",
                                                  "Undo Item 4", "Undo Item 5"}));
    for (QAction *a : menu->actions())
        QVERIFY(!a->isEnabled());

    CTarvelLiteView *view = frame_->newDocument();
    QVERIFY(view);
    // Three steps that cannot merge: text at the end, at the start, at the end.
    QTextCursor cursor(view->document());
    cursor.insertText(QStringLiteral("middle"));
    cursor.setPosition(0);
    cursor.insertText(QStringLiteral("start "));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral(" end"));
    QCOMPARE(view->availableUndoSteps(), 3);

    opened(menu);
    QCOMPARE(menu->actions().size(), 5);
    for (int k = 1; k <= 5; ++k)
        QCOMPARE(menu->actions().at(k - 1)->isEnabled(), k <= 3);
    menu->actions().at(1)->trigger(); // "Undo Item 2"
    QCOMPARE(view->toPlainText(), QStringLiteral("middle"));
    QCOMPARE(view->availableUndoSteps(), 1);
    // More steps than there are undoes what there is.
    QCOMPARE(frame_->undoSteps(5), 1);
    QCOMPARE(view->toPlainText(), QString());
    QVERIFY(!frame_->command(ID_EDIT_UNDO)->isEnabled());
    QCOMPARE(frame_->undoSteps(1), 0);
}

void RibbonMenusTest::colourPalettes() {
    context_->mutableSettings().general.textColour = 0x7D491F; // 31,73,125 as 0x00BBGGRR
    makeFrame();
    auto *fore = qobject_cast<ColourMenu *>(frame_->command(ID_FORE)->menu());
    QVERIFY(fore);
    opened(fore);
    QCOMPARE(fore->captions(), (QStringList{"Theme Colors", "Standard Colors", "Recent Colors"}));
    const QList<QToolButton *> boxes = fore->colourBoxes();
    QCOMPARE(boxes.size(), 10 + 50 + 10 + 2);
    QCOMPARE(boxes.at(10 + 3)->toolTip(), QStringLiteral("Dark Blue, Text 2, Lighter 80%"));
    QCOMPARE(boxes.at(10 + 3)->accessibleName(), QStringLiteral("Dark Blue, Text 2, Lighter 80%"));
    QCOMPARE(boxes.at(10 + 49)->toolTip(), QStringLiteral("Orange, Accent 6, Darker 50%"));
    QCOMPARE(boxes.at(60 + 8)->toolTip(), QStringLiteral("Black"));
    QCOMPARE(boxes.at(70)->toolTip(), QStringLiteral("White, Background 1"));
    QCOMPARE(boxes.at(71)->toolTip(), QStringLiteral("Black, Text 1"));
    QCOMPARE(boxes.at(0)->iconSize(), QSize(17, 17));
    // The current colour is the settings' text colour.
    QVERIFY(boxes.at(3)->isChecked());
    QVERIFY(!boxes.at(4)->isChecked());
    QCOMPARE(fore->automaticButton()->text(), QStringLiteral("&Automatic"));
    QCOMPARE(fore->automaticButton()->accessibleName(), QStringLiteral("Automatic"));
    QCOMPARE(fore->moreColoursButton()->text(), QStringLiteral("&More Colors..."));
    QCOMPARE(fore->moreColoursButton()->toolTip(), QStringLiteral("More Colors"));
    QCOMPARE(frame_->themeColours().size(), 10);
    QCOMPARE(frame_->themeShades().size(), 50);
    QCOMPARE(frame_->standardColours().size(), 10);

    auto *back = qobject_cast<ColourMenu *>(frame_->command(ID_BACK)->menu());
    QVERIFY(back);
    opened(back);
    QCOMPARE(back->captions(), QStringList{});
    QCOMPARE(back->colourBoxes().at(0)->iconSize(), QSize(26, 26));
    QCOMPARE(back->automaticButton()->text(), QStringLiteral("&No Color"));
    // The automatic entry: at the top of the text palette, at the bottom of the background one
    // (above the line and "More Colors...").
    auto place = [](ColourMenu *menu) {
        const QLayout *column = menu->automaticButton()->parentWidget()->layout();
        const int index = column->indexOf(menu->automaticButton());
        return index == column->count() - 3 ? 1 : index;
    };
    QCOMPARE(place(fore), 0);
    QCOMPARE(place(back), 1);
}

void RibbonMenusTest::chosenColoursApplyAndAreRemembered() {
    makeFrame();
    CTarvelLiteView *view = frame_->newDocument();
    view->setPlainText(QStringLiteral("coloured"));
    view->selectAll();
    auto *fore = qobject_cast<ColourMenu *>(frame_->command(ID_FORE)->menu());

    // A box: the selection takes its colour, the button shows it, recent colours gain it.
    opened(fore);
    fore->colourBoxes().at(5)->click(); // "Red, Accent 2"
    const QColor red(192, 80, 77);
    QCOMPARE(frame_->textColour(), red);
    QCOMPARE(view->textCursor().charFormat().foreground().color(), red);
    QCOMPARE(frame_->recentColours().first(), red);
    QCOMPARE(frame_->recentColours().size(), 3);

    // "More Colors...": the dialog starts at the current colour. Twelve new colours later the
    // list holds the ten most recent, newest first.
    QList<QColor> initials;
    int next = 0;
    frame_->colourChooser = [&](const QColor &initial, QWidget *) {
        initials << initial;
        ++next;
        return QColor(next, 2 * next, 3 * next);
    };
    for (int i = 0; i < 12; ++i) {
        opened(fore);
        fore->moreColoursButton()->click();
    }
    QCOMPARE(initials.first(), red);
    QCOMPARE(initials.last(), QColor(11, 22, 33));
    QList<QColor> expected;
    for (int n = 12; n > 2; --n)
        expected << QColor(n, 2 * n, 3 * n);
    QCOMPARE(frame_->recentColours(), expected);
    // A colour already listed stays where it is.
    opened(fore);
    fore->colourBoxes().last()->click();
    QCOMPARE(frame_->textColour(), QColor(3, 6, 9));
    QCOMPARE(frame_->recentColours(), expected);
    // The reopened palette shows them, named by their values.
    opened(fore);
    QCOMPARE(fore->colourBoxes().size(), 70 + 10);
    QCOMPARE(fore->colourBoxes().at(70)->toolTip(), QStringLiteral("Red 12, Green 24, Blue 36"));
    // A cancelled dialog changes nothing.
    frame_->colourChooser = [](const QColor &, QWidget *) { return QColor(); };
    fore->moreColoursButton()->click();
    QCOMPARE(frame_->textColour(), QColor(3, 6, 9));

    // "&Automatic" is black; "&No Color" is white.
    opened(fore);
    fore->automaticButton()->click();
    QCOMPARE(view->textCursor().charFormat().foreground().color(), QColor(0, 0, 0));
    auto *back = qobject_cast<ColourMenu *>(frame_->command(ID_BACK)->menu());
    opened(back);
    back->colourBoxes().at(1)->click(); // black
    QCOMPARE(view->textCursor().charFormat().background().color(), QColor(0, 0, 0));
    QCOMPARE(frame_->backColour(), QColor(0, 0, 0));
    opened(back);
    back->automaticButton()->click();
    QCOMPARE(view->textCursor().charFormat().background().color(), QColor(255, 255, 255));
}

void RibbonMenusTest::paragraphGalleries() {
    makeFrame();
    CTarvelLiteView *view = frame_->newDocument();
    view->setPlainText(QStringLiteral("one\ntwo"));
    view->selectAll();
    auto *numbering = qobject_cast<ParagraphGallery *>(frame_->command(ID_PARA_NUMBERING)->menu());
    QVERIFY(numbering);
    QCOMPARE(numbering->itemButtons().size(), 7);
    QCOMPARE(numbering->selectedItem(), 1);
    QVERIFY(numbering->itemButtons().at(0)->isChecked());
    QCOMPARE(numbering->itemButtons().at(0)->iconSize(), QSize(76, 76));
    QCOMPARE(numbering->itemButtons().at(2)->accessibleName(), QStringLiteral("I. II. III."));
    QVERIFY(frame_->command(ID_PARA_NUMBERING_GALLERY));
    numbering->itemButtons().at(2)->click();
    QCOMPARE(frame_->numberingItem(), 3);
    QTextList *list = view->document()->firstBlock().textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListUpperRoman);
    QCOMPARE(view->document()->lastBlock().textList(), list);
    opened(numbering);
    QVERIFY(numbering->itemButtons().at(2)->isChecked());
    QVERIFY(!numbering->itemButtons().at(0)->isChecked());

    auto *bullets = qobject_cast<ParagraphGallery *>(frame_->command(ID_PARA_BULLET)->menu());
    QVERIFY(bullets);
    bullets->itemButtons().at(0)->click();
    QCOMPARE(view->document()->firstBlock().textList()->format().style(),
             QTextListFormat::ListDisc);
    // Choosing it again keeps the bullets.
    bullets->itemButtons().at(0)->click();
    QVERIFY(view->document()->firstBlock().textList());
}

void RibbonMenusTest::menuBarKeepsOneClickToggles() {
    // The ribbon shows a command with a drop-down as a split button: its button part toggles
    // the pane with one click, its arrow opens the drop-down.
    makeFrame();
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    RibbonButton *toggle = frame_->ribbon()->button(ID_CHKKBD);
    QVERIFY(toggle);
    QVERIFY(toggle->isSplit());
    QCOMPARE(toggle->menu() ? toggle->menu() : toggle->defaultAction()->menu(),
             frame_->command(ID_CHKKBD)->menu());
    QVERIFY(toggle->isChecked());
    toggle->click();
    QVERIFY(frame_->keyboardPane()->isHidden());
    QVERIFY(!frame_->command(ID_CHKKBD)->isChecked());
    QVERIFY(!toggle->isChecked());
    toggle->click();
    QVERIFY(!frame_->keyboardPane()->isHidden());
    QVERIFY(toggle->isChecked());
    // The command itself keeps its drop-down.
    QVERIFY(frame_->command(ID_CHKKBD)->menu());
}

QTEST_MAIN(RibbonMenusTest)
#include "ribbon_menus_test.moc"
