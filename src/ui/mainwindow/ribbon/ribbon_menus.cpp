// The drop-downs of the main window's command buttons: the text and background colour
// palettes, the numbering and bullet galleries, the Undo list, the Dictionary and Keyboard
// lists, and the User Dictionary command. Each belongs to the command's action (its menu), so
// whatever shows the action (the command bar, a menu) offers it.

#include "ui/mainwindow/ribbon/ribbon_menus.h"

#include "core/mainwindow/menu_tables.h"
#include "core/spelling/dictionary_registry.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/tarvellite_view.h"
#include "ui/input/kbd_dialog.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/mainwindow/ribbon/paragraph_gallery.h"
#include "ui/spelling/user_dict.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QPoint>
#include <QStatusBar>

namespace tarvellite::ui {

namespace {

QString fromUnits(const std::u16string &units) {
    return QString::fromUtf16(units.data(), qsizetype(units.size()));
}

std::u16string toUnits(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

/// The wait cursor while it lives.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

/// The object name of a drop-down entry: its command id, or for an entry beyond the ids the
/// button's id and the entry's indices.
QString entryName(int id, int buttonId, const QList<int> &indices) {
    if (id > 0)
        return commandName(id);
    QString name = commandName(buttonId);
    for (int index : indices)
        name += QLatin1Char('-') + QString::number(index);
    return name;
}

} // namespace

PaletteColours paletteColours(const std::vector<NamedColour> &table) {
    PaletteColours colours;
    for (const NamedColour &entry : table)
        colours.append(
            {QColor(entry.rgb.r, entry.rgb.g, entry.rgb.b), QString::fromStdString(entry.name)});
    return colours;
}

QString colourName(const QColor &colour) {
    const Rgb rgb{std::uint8_t(colour.red()), std::uint8_t(colour.green()),
                  std::uint8_t(colour.blue())};
    const std::string name = paletteColourName(rgb);
    if (!name.empty())
        return QString::fromStdString(name);
    return QStringLiteral("Red %1, Green %2, Blue %3")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue());
}

QHash<QString, QPair<QString, QString>> makeLocaleNames() {
    QHash<QString, QPair<QString, QString>> names;
    for (const LocaleName &locale : localeTable()) {
        const QString code = QString::fromLatin1(locale.code.data(), qsizetype(locale.code.size()));
        names.insert(code, {code, QString::fromLatin1(locale.displayName.data(),
                                                      qsizetype(locale.displayName.size()))});
    }
    return names;
}

QString dictionaryCaption(const QHash<QString, QPair<QString, QString>> &localeNames,
                          const QString &name) {
    const auto found = localeNames.constFind(name);
    return found != localeNames.cend() ? found->second : name;
}

void clearMenuLater(QMenu *menu) {
    for (QAction *action : menu->actions()) {
        menu->removeAction(action);
        // Gone for whoever looks entries up by name, at once.
        action->setObjectName(QString());
        if (QMenu *sub = action->menu()) {
            for (QAction *inner : sub->actions())
                inner->setObjectName(QString());
            sub->deleteLater();
        }
        if (action->parent() == menu)
            action->deleteLater();
    }
}

// ---------------------------------------------------------------------------------------------
// Set-up

void CMainFrame::createRibbonMenus() {
    themeColours_ = paletteColours(themeColourTable());
    themeShades_ = paletteColours(themeShadeTable());
    standardColours_ = paletteColours(standardColourTable());
    localeNames_ = makeLocaleNames();
    QList<QColor> recent;
    for (const PaletteColour &entry : paletteColours(initialRecentColours()))
        recent << entry.colour;
    setRecentColours(recent);

    auto chooser = [this](const QColor &initial, QWidget *parent) {
        return colourChooser
                   ? colourChooser(initial, parent)
                   : QColorDialog::getColor(initial, parent, QStringLiteral("More Colors"));
    };
    if (QAction *fore = command(ID_FORE)) {
        auto *menu = new ColourMenu(QStringLiteral("Foreground Colour"),
                                    {.boxSize = 17,
                                     .columns = 10,
                                     .automaticText = QStringLiteral("&Automatic"),
                                     .automaticColour = QColor(0, 0, 0),
                                     .automaticAtTop = true,
                                     .automaticBorder = false},
                                    this);
        menu->setObjectName(QStringLiteral("menu-%1").arg(ID_FORE));
        menu->setGroupSource([this] { return textColourGroups(); });
        menu->setCurrentColourSource([this] { return textColour_; });
        menu->setColourChooser(chooser);
        connect(menu, &ColourMenu::colourChosen, this,
                [this](const QColor &colour) { applyChosenColour(true, colour); });
        fore->setMenu(menu);
    }
    if (QAction *back = command(ID_BACK)) {
        auto *menu = new ColourMenu(QStringLiteral("Background Colour"),
                                    {.boxSize = 26,
                                     .columns = 5,
                                     .automaticText = QStringLiteral("&No Color"),
                                     .automaticColour = QColor(255, 255, 255),
                                     .automaticAtTop = false,
                                     .automaticBorder = true},
                                    this);
        menu->setObjectName(QStringLiteral("menu-%1").arg(ID_BACK));
        // No groups of its own: the theme and standard colours as one block.
        menu->setGroupSource([this] {
            return QList<ColourGroup>{{QString(), themeColours_ + standardColours_}};
        });
        menu->setCurrentColourSource([this] { return backColour_; });
        menu->setColourChooser(chooser);
        connect(menu, &ColourMenu::colourChosen, this,
                [this](const QColor &colour) { applyChosenColour(false, colour); });
        back->setMenu(menu);
    }

    // The numbering gallery issues its own command with the chosen item.
    QAction *numberingItem = addFrameCommand(
        nullptr, ID_PARA_NUMBERING_GALLERY, QStringLiteral("Numbering Library"), [this] {
            const QAction *self = command(ID_PARA_NUMBERING_GALLERY);
            const int item = self ? self->data().toInt() : 0;
            if (item <= 0)
                return;
            setNumberingItem(item);
            if (CTarvelLiteView *view = activeView())
                view->applyNumbering(item);
            updateCommandStates();
        });
    if (QAction *numbering = command(ID_PARA_NUMBERING)) {
        QMenu *old = numbering->menu();
        auto *gallery =
            new ParagraphGallery(QStringLiteral("Numbering"), QStringLiteral("Numbering Library"),
                                 numberingGalleryItems(), this);
        gallery->setObjectName(QStringLiteral("menu-%1").arg(ID_PARA_NUMBERING));
        gallery->setSelectedItem(numberingItem_);
        connect(gallery, &QMenu::aboutToShow, gallery,
                [this, gallery] { gallery->setSelectedItem(numberingItem_); });
        connect(gallery, &ParagraphGallery::itemChosen, this, [numberingItem](int item) {
            numberingItem->setData(item);
            numberingItem->trigger();
        });
        numbering->setMenu(gallery);
        delete old;
    }
    if (QAction *bullets = command(ID_PARA_BULLET)) {
        auto *gallery =
            new ParagraphGallery(QStringLiteral("Bullets"), QStringLiteral("Bullet Library"),
                                 bulletGalleryItems(), this);
        gallery->setObjectName(QStringLiteral("menu-%1").arg(ID_PARA_BULLET));
        gallery->setSelectedItem(1);
        // Choosing the bullet gives the selection bullets (the button itself switches them).
        connect(gallery, &ParagraphGallery::itemChosen, this, [this] {
            if (CTarvelLiteView *view = activeView(); view && !view->formatState().bullets)
                view->toggleBullets();
            updateCommandStates();
        });
        bullets->setMenu(gallery);
    }

    if (QAction *undo = command(ID_EDIT_UNDO)) {
        auto *menu = new QMenu(QStringLiteral("Undo"), this);
        menu->setObjectName(QStringLiteral("menu-%1").arg(ID_EDIT_UNDO));
        menu->setAccessibleName(QStringLiteral("Undo"));
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            clearMenuLater(menu);
            const CTarvelLiteView *view = activeView();
            const int available = view ? view->availableUndoSteps() : 0;
            for (int k = 1; k <= 5; ++k) {
                QAction *entry = menu->addAction(QStringLiteral("Undo Item %1").arg(k));
                entry->setObjectName(QStringLiteral("%1-%2").arg(ID_EDIT_UNDO).arg(k));
                entry->setEnabled(k <= available);
                connect(entry, &QAction::triggered, this, [this, k] { undoSteps(k); });
            }
        });
        undo->setMenu(menu);
    }

    if (QAction *dictionary = command(ID_DICTIONARY)) {
        dictionaryMenu_ = new QMenu(QStringLiteral("Dictionary"), this);
        dictionaryMenu_->setObjectName(QStringLiteral("menu-%1").arg(ID_DICTIONARY));
        dictionaryMenu_->setAccessibleName(QStringLiteral("Dictionary"));
        dictionary->setMenu(dictionaryMenu_);
    }
    if (!command(ID_BTNUSRDICT)) {
        addFrameCommand(nullptr, ID_BTNUSRDICT, QStringLiteral("User Dictionary"),
                        [this] { openUserDictionary(); });
    }
    if (QAction *keyboard = command(ID_CHKKBD)) {
        keyboardMenu_ = new QMenu(QStringLiteral("Keyboard"), this);
        keyboardMenu_->setObjectName(QStringLiteral("menu-%1").arg(ID_CHKKBD));
        keyboardMenu_->setAccessibleName(QStringLiteral("Keyboard"));
        keyboard->setMenu(keyboardMenu_);
    }
    buildDictionaryMenu();
    BuildKeyboardMenu();
}

// ---------------------------------------------------------------------------------------------
// Colours

void CMainFrame::setRecentColours(const QList<QColor> &colours) {
    recentColours_ = colours.first(std::min(colours.size(), qsizetype(recentColourLimit)));
}

QList<ColourGroup> CMainFrame::textColourGroups() const {
    PaletteColours recent;
    for (const QColor &colour : recentColours_)
        recent.append({colour, colourName(colour)});
    return {{QStringLiteral("Theme Colors"), themeColours_},
            {QString(), themeShades_},
            {QStringLiteral("Standard Colors"), standardColours_},
            {QStringLiteral("Recent Colors"), recent}};
}

void CMainFrame::applyChosenColour(bool text, const QColor &colour) {
    // The button takes the colour, and the selection gets it the way a click on the button
    // gives it.
    if (text)
        setTextColour(colour);
    else
        setBackColour(colour);
    if (CTarvelLiteView *view = activeView()) {
        if (text)
            view->textColourCommand();
        else
            view->backColourCommand();
    }
    updateCommandStates();
}

// ---------------------------------------------------------------------------------------------
// Undo

int CMainFrame::undoSteps(int steps) {
    CTarvelLiteView *view = activeView();
    if (!view)
        return 0;
    // One action: the view repaints and the commands update once, after the last step.
    view->setUpdatesEnabled(false);
    int done = 0;
    while (done < steps && view->canUndo()) {
        view->undo();
        ++done;
    }
    view->setUpdatesEnabled(true);
    updateCommandStates();
    scheduleStatusUpdate();
    return done;
}

// ---------------------------------------------------------------------------------------------
// Dictionary drop-down

void CMainFrame::buildDictionaryMenu() {
    if (!dictionaryMenu_)
        return;
    clearMenuLater(dictionaryMenu_);
    checkedDictionary_ = -1;
    const std::vector<std::u16string> &names = context_.dictionaries().names();
    if (names.empty())
        return;
    for (int i = 0; i < int(names.size()); ++i) {
        const QString name = fromUnits(names[std::size_t(i)]);
        QAction *entry = dictionaryMenu_->addAction(dictionaryCaption(localeNames_, name));
        entry->setObjectName(entryName(dictionaryMenuId(i), ID_DICTIONARY, {i}));
        entry->setData(i);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this,
                [this, entry] { chooseDictionary(entry->data().toInt()); });
    }
    MarkLoadedDictionary(-1);
}

int CMainFrame::MarkLoadedDictionary(int index) {
    const int count = int(context_.dictionaries().names().size());
    if (count == 0)
        return 0;
    // -1: the dictionary the look-ahead has loaded, so that the mark never names one that is
    // not loaded.
    if (index == -1) {
        const LookupDictionary *lookup =
            keyboardPane_ ? keyboardPane_->lookupDictionary() : nullptr;
        index = lookup ? lookup->chosenIndex() : -1;
    }
    if (index < 0 || index >= count)
        index = -1;
    checkedDictionary_ = index;
    showDictionaryChecks();
    return checkedDictionary_;
}

void CMainFrame::showDictionaryChecks() {
    if (!dictionaryMenu_)
        return;
    for (QAction *entry : dictionaryMenu_->actions())
        entry->setChecked(entry->data().toInt() == checkedDictionary_);
}

void CMainFrame::chooseDictionary(int index) {
    DictionaryRegistry &registry = context_.dictionaries();
    if (index < 0 || index >= int(registry.names().size()))
        return;
    WaitCursor wait;
    const std::u16string name = registry.names()[std::size_t(index)];
    const std::u16string code = toUnits(context_.inputContext().currentLanguageCode());
    Settings &settings = context_.mutableSettings();
    const std::vector<std::u16string> before = settings.defaultDictionaries;
    // The choice is remembered for the dictionary's own language; only a dictionary of the
    // current language is loaded now.
    registry.FindDictionaryIndex(name, code, settings.defaultDictionaries);
    LookupDictionary *lookup = keyboardPane_ ? keyboardPane_->lookupDictionary() : nullptr;
    if (sameLanguageCode(name, code) && lookup) {
        keyboardPane_->refreshDictionaryStatus(true);
        if (lookup->chosenIndex() != index) {
            // It could not be loaded: the language keeps the dictionary it had.
            settings.defaultDictionaries = before;
            keyboardPane_->refreshDictionaryStatus(true);
            statusBar()->showMessage(
                QStringLiteral("The dictionary %1 could not be loaded.").arg(fromUnits(name)),
                10000);
        }
    }
    // A click checks the entry it chose; the mark shows what is loaded.
    showDictionaryChecks();
}

// ---------------------------------------------------------------------------------------------
// Keyboard drop-down

void CMainFrame::BuildKeyboardMenu() {
    if (!keyboardMenu_)
        return;
    clearMenuLater(keyboardMenu_);
    const InputContext &input = context_.inputContext();
    const KeyboardTables &tables = input.tables();
    for (int i = 0; i < int(tables.languageTable.size()); ++i) {
        const LANGDETAILS &language = tables.languageTable[std::size_t(i)];
        const QString name = fromUnits(language.name);
        auto *entry = new QAction(name, keyboardMenu_);
        entry->setObjectName(entryName(languageMenuId(i), ID_CHKKBD, {i}));
        entry->setData(QPoint(i, -1));
        entry->setCheckable(true);
        entry->setChecked(i == input.currentLanguageIndex());
        connect(entry, &QAction::triggered, this, [this, i] { chooseKeyboardEntry(i, -1); });
        if (language.keyboardsInLanguage > 0) {
            auto *keyboards = new QMenu(name, keyboardMenu_);
            keyboards->setAccessibleName(name);
            for (int j = 0; j < language.keyboardsInLanguage; ++j) {
                const std::size_t type = std::size_t(language.firstKeyboard + j);
                auto *keyboard = new QAction(type < tables.keyboardTypeTable.size()
                                                 ? fromUnits(tables.keyboardTypeTable[type].name)
                                                 : QString(),
                                             keyboards);
                keyboard->setObjectName(entryName(keyboardMenuId(i, j), ID_CHKKBD, {i, j}));
                keyboard->setData(QPoint(i, j));
                keyboard->setCheckable(true);
                keyboard->setChecked(j == language.selectedKeyboard);
                connect(keyboard, &QAction::triggered, this,
                        [this, i, j] { chooseKeyboardEntry(i, j); });
                keyboards->addAction(keyboard);
            }
            entry->setMenu(keyboards);
        }
        keyboardMenu_->addAction(entry);
    }
}

void CMainFrame::chooseKeyboardEntry(int language, int keyboard) {
    // Through the on-screen keyboard's lists, as if chosen there: their handlers select the
    // language and keyboard, and the selection change rebuilds this menu.
    if (CKbdDialog *dialog = keyboardPane_ ? keyboardPane_->dialog() : nullptr) {
        if (dialog->languageList()->currentIndex() != language)
            dialog->languageList()->setCurrentIndex(language);
        if (keyboard >= 0 && dialog->keyboardList()->currentIndex() != keyboard)
            dialog->keyboardList()->setCurrentIndex(keyboard);
    } else {
        InputContext &input = context_.inputContext();
        if (input.currentLanguageIndex() != language)
            input.SelectLanguage(language);
        if (keyboard >= 0 && input.currentLanguage().selectedKeyboard != keyboard)
            input.SelectKeyboard(keyboard);
    }
    // A click on the entry already checked unchecked it: the marks show the selection again.
    BuildKeyboardMenu();
}

// ---------------------------------------------------------------------------------------------
// User dictionary

void CMainFrame::openUserDictionary() {
    if (context_.dictionaries().names().empty()) {
        // Says that there is no dictionary to edit.
        runUserDictionaryEditor(context_, this);
        return;
    }
    // The editor switches the input language to the dictionary it shows: afterwards the
    // language and keyboard are those of before.
    const InputContext &input = context_.inputContext();
    const int language = input.currentLanguageIndex();
    const int keyboard = language >= 0 ? input.currentLanguage().selectedKeyboard : -1;
    if (userDictionaryEditor)
        userDictionaryEditor();
    else
        runUserDictionaryEditor(context_, this);
    if (language >= 0)
        chooseKeyboardEntry(language, keyboard);
    // The user words may have changed: the language's dictionary is loaded again.
    if (keyboardPane_)
        keyboardPane_->refreshDictionaryStatus(true);
}

} // namespace tarvellite::ui
