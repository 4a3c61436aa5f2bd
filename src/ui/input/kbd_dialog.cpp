#include "ui/input/kbd_dialog.h"

#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/caps_lock.h"
#include "ui/input/input_router.h"
#include "ui/input/kbd_fields.h"
#include "ui/input/my_tooltip.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tarvellite::ui {

namespace {

// The characters of a US keyboard's 47 character keys, in key position order.
constexpr char normalChars[] = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
constexpr char shiftedChars[] = "~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?";
static_assert(sizeof normalChars - 1 == CKbdDialog::characterKeyCount);
static_assert(sizeof shiftedChars - 1 == CKbdDialog::characterKeyCount);

bool isLetterKey(int position) {
    const char c = normalChars[position];
    return c >= 'a' && c <= 'z';
}

QString fromUnits(const std::u16string &units) {
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

enum SpecialId : int {
    IdBackspace = 1048,
    IdTab = 1049,
    IdLock = 1050,
    IdEnter = 1051,
    IdShiftLeft = 1052,
    IdShiftRight = 1053,
    IdInsert = 1054,
    IdHelp = 1057,
    IdSpace = 1058,
    IdCtrl = 1059,
    IdToggleLanguage = 1060,
    IdHome = 1061,
    IdPageUp = 1062,
    IdDelete = 1063,
    IdEnd = 1064,
    IdPageDown = 1065,
    IdKeyboardList = 1079,
    IdLanguageList = 1080,
    IdHidden = 1157,
    IdLeft = 1221,
    IdRight = 1222,
    IdDown = 1223,
    IdUp = 1224,
    IdTitleBar = 1226,
};

/// The key and text a special key sends; the text is what a real key press carries.
struct SpecialKey {
    int id;
    int qtKey;
    const char *text;
    /// Sent to the text target when there is one (else the document), or always the document.
    bool toTarget;
};

constexpr SpecialKey specialKeys[] = {
    {IdBackspace, Qt::Key_Backspace, "\b", true},
    {IdDelete, Qt::Key_Delete, "", true},
    {IdLeft, Qt::Key_Left, "", true},
    {IdRight, Qt::Key_Right, "", true},
    {IdTab, Qt::Key_Tab, "\t", true},
    {IdEnter, Qt::Key_Return, "\r", false},
    {IdInsert, Qt::Key_Insert, "", false},
    {IdHome, Qt::Key_Home, "", false},
    {IdEnd, Qt::Key_End, "", false},
    {IdPageUp, Qt::Key_PageUp, "", false},
    {IdPageDown, Qt::Key_PageDown, "", false},
    {IdDown, Qt::Key_Down, "", false},
    {IdUp, Qt::Key_Up, "", false},
    {IdHelp, Qt::Key_F1, "", false},
};

const SpecialKey *specialKey(int id) {
    for (const SpecialKey &k : specialKeys)
        if (k.id == id)
            return &k;
    return nullptr;
}

} // namespace

CKbdDialog::CKbdDialog(AppContext &context, FrameServices &frame, QWidget *parent)
    : QWidget(parent), context_(context), frame_(frame), input_(context.inputContext()),
      lookup_(std::make_unique<LookupDictionary>(context.inputContext(), [&context] {
          return context.settings().editOption.lookAheadMinLetters;
      })) {
    setObjectName(QStringLiteral("109"));
    setAccessibleName(QStringLiteral("On Screen Keyboard"));
    // Clicking the keyboard never moves the focus away from where the user types.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    build();
    input_.addListener(this);
    connect(qApp, &QApplication::focusChanged, this, &CKbdDialog::onFocusChanged);
}

CKbdDialog::~CKbdDialog() {
    input_.removeListener(this);
    if (context_.lookAheadSource() == lookup_.get())
        context_.setLookAheadSource(nullptr);
}

QPushButton *CKbdDialog::addButton(int id, const QString &caption, bool checkable) {
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::number(id));
    button->setAccessibleName(caption);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCheckable(checkable);
    button->setAutoDefault(false);
    button->setMinimumWidth(24);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    return button;
}

void CKbdDialog::build() {
    QFont keyFont = font();
    keyFont.setPixelSize(16);
    keyFont.setWeight(QFont::Light);

    for (int k = 0; k < characterKeyCount; ++k) {
        QPushButton *b = addButton(firstKeyId + k, QString(QLatin1Char(normalChars[k])));
        b->setFont(keyFont);
        connect(b, &QPushButton::clicked, this, [this, k] { clickCharacter(k); });
        keys_[k] = b;
    }
    auto special = [this](int id, const QString &caption) {
        QPushButton *b = addButton(id, caption);
        connect(b, &QPushButton::clicked, this, [this, id] { clickSpecial(id); });
        return b;
    };

    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    // Each key spans two columns so that the rows can be offset by half a key.
    auto place = [grid](QWidget *w, int row, int column, int span = 2) {
        grid->addWidget(w, row, column, 1, span);
    };
    for (int k = 0; k <= 12; ++k)
        place(keys_[k], 0, 2 * k);
    place(special(IdBackspace, QStringLiteral("bksp")), 0, 26, 4);
    place(special(IdTab, QStringLiteral("tab")), 1, 0, 3);
    for (int k = 13; k <= 25; ++k)
        place(keys_[k], 1, 3 + 2 * (k - 13));
    lock_ = addButton(IdLock, QStringLiteral("lock"), true);
    connect(lock_, &QPushButton::clicked, this, [this] {
        CapsLock::toggle();
        lock_->setChecked(CapsLock::isOn());
        input_.ReleaseStickyModifiers();
        RedrawKeyCaptions(input_.modifiers().shiftLatch != 0, input_.modifiers().ctrlLatch != 0);
    });
    place(lock_, 2, 0, 4);
    for (int k = 26; k <= 36; ++k)
        place(keys_[k], 2, 4 + 2 * (k - 26));
    place(special(IdEnter, QStringLiteral("enter")), 2, 26, 4);
    shiftLeft_ = addButton(IdShiftLeft, QStringLiteral("shift"), true);
    shiftRight_ = addButton(IdShiftRight, QStringLiteral("shift"), true);
    for (QPushButton *b : {shiftLeft_, shiftRight_})
        connect(b, &QPushButton::clicked, this, &CKbdDialog::clickShift);
    place(shiftLeft_, 3, 0, 5);
    for (int k = 37; k <= 46; ++k)
        place(keys_[k], 3, 5 + 2 * (k - 37));
    place(shiftRight_, 3, 25, 5);

    ctrl_ = addButton(IdCtrl, QStringLiteral("ctrl"), true);
    connect(ctrl_, &QPushButton::clicked, this, &CKbdDialog::clickCtrl);
    place(ctrl_, 4, 0, 3);
    insert_ = addButton(IdInsert, QStringLiteral("INS"), true);
    connect(insert_, &QPushButton::clicked, this, [this] {
        insert_->setChecked(!insert_->isChecked()); // the idle update shows the real state
        clickSpecial(IdInsert);
    });
    place(insert_, 4, 3, 3);
    place(special(IdHelp, QStringLiteral("Help")), 4, 6, 3);
    QPushButton *toggle = addButton(IdToggleLanguage, QStringLiteral("Toggle Language"));
    toggle->setText(QString());
    toggle->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    connect(toggle, &QPushButton::clicked, this, [this] { input_.togglePreviousLanguage(); });
    place(toggle, 4, 9, 2);
    QPushButton *space = addButton(IdSpace, QStringLiteral("space"));
    connect(space, &QPushButton::clicked, this, [this] { clickCharacter(-1); });
    place(space, 4, 11, 12);
    place(special(IdDelete, QStringLiteral("DEL")), 4, 23, 3);

    auto *navigation = new QGridLayout;
    navigation->setSpacing(2);
    navigation->addWidget(special(IdHome, QStringLiteral("Home")), 0, 0);
    navigation->addWidget(special(IdEnd, QStringLiteral("End")), 1, 0);
    navigation->addWidget(special(IdPageUp, QStringLiteral("Page\nUp")), 0, 1);
    navigation->addWidget(special(IdPageDown, QStringLiteral("Page\nDown")), 1, 1);
    const std::pair<int, QStyle::StandardPixmap> arrows[] = {{IdUp, QStyle::SP_ArrowUp},
                                                             {IdLeft, QStyle::SP_ArrowLeft},
                                                             {IdDown, QStyle::SP_ArrowDown},
                                                             {IdRight, QStyle::SP_ArrowRight}};
    const QString arrowNames[] = {QStringLiteral("Up"), QStringLiteral("Left"),
                                  QStringLiteral("Down"), QStringLiteral("Right")};
    const QPoint arrowCells[] = {{1, 2}, {0, 3}, {1, 3}, {2, 3}};
    for (int i = 0; i < 4; ++i) {
        QPushButton *b = special(arrows[i].first, arrowNames[i]);
        b->setText(QString());
        b->setIcon(style()->standardIcon(arrows[i].second));
        navigation->addWidget(b, arrowCells[i].y(), arrowCells[i].x());
    }
    QPushButton *hidden = addButton(IdHidden, QStringLiteral("Keyboard"));
    hidden->hide();

    languages_ = new QComboBox(this);
    languages_->setObjectName(QString::number(IdLanguageList));
    languages_->setAccessibleName(QStringLiteral("Language"));
    languages_->setFocusPolicy(Qt::NoFocus);
    QFont listFont = font();
    listFont.setPixelSize(12);
    languages_->setFont(listFont);
    keyboards_ = new QComboBox(this);
    keyboards_->setObjectName(QString::number(IdKeyboardList));
    keyboards_->setAccessibleName(QStringLiteral("Keyboard"));
    keyboards_->setFocusPolicy(Qt::NoFocus);
    connect(languages_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_ && index >= 0)
            input_.SelectLanguage(index);
    });
    connect(keyboards_, &QComboBox::currentIndexChanged, this, [this](int index) {
        // A language without keyboards has an empty, disabled list: nothing to select.
        if (!filling_ && index >= 0 && hasKeyboard())
            input_.SelectKeyboard(index);
    });
    titleBar_ = addButton(IdTitleBar, QStringLiteral("Hide Title Bar"), true);
    titleBar_->setChecked(true);
    connect(titleBar_, &QPushButton::clicked, this, [this] {
        showTitleBarState(titleBarToggle_ ? titleBarToggle_() : titleBar_->isChecked());
    });

    auto *side = new QVBoxLayout;
    side->setSpacing(2);
    for (auto [caption, list] : {std::pair{"Language", languages_}, {"Keyboard", keyboards_}}) {
        auto *label = new QLabel(QString::fromLatin1(caption), this);
        label->setAccessibleName(label->text());
        label->setBuddy(list);
        side->addWidget(label);
        side->addWidget(list);
    }
    side->addWidget(titleBar_);
    side->addLayout(navigation);
    side->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid, 1);
    layout->addLayout(side);

    tooltip_ = new CMyToolTipCtrl(this);
    CMyToolTipCtrl::Parameters p;
    p.boldLabel = false;
    p.drawIcon = true;
    p.drawDescription = true;
    p.roundedCorners = true;
    p.balloon = true;
    p.drawSeparator = true;
    p.maxDescriptionWidth = 200;
    tooltip_->setParameters(p);
    tooltip_->watch(this);

    const std::pair<int, const char *> fixedTips[] = {
        {IdSpace, " space "},
        {IdTab, "|<--tab \n tab-->| "},
        {IdLock, " caps \n lock "},
        {IdShiftLeft, " | shift | "},
        {IdShiftRight, " | shift | "},
        {IdEnter, " enter "},
        {IdBackspace, " back \n space "},
        {IdHelp, " HELP "},
        {IdInsert, " insert "},
        {IdDelete, " delete "},
        {IdCtrl, " control "},
        {IdLanguageList, "    Select \n Language "},
        {IdKeyboardList, " Keyboard \n    Layout "},
        {IdToggleLanguage, "  Toggle \nLanguage "},
        {IdHome, " Home "},
        {IdTitleBar, " Toggle \nTitle Bar "},
        {IdEnd, " END "},
        {IdPageUp, " Page \n  Up "},
        {IdPageDown, " Page \n Down "},
    };
    for (const auto &[id, text] : fixedTips)
        if (auto *w = findChild<QWidget *>(QString::number(id)))
            w->setToolTip(QString::fromLatin1(text));
}

QPushButton *CKbdDialog::key(int id) const {
    if (id >= firstKeyId && id < firstKeyId + characterKeyCount)
        return keys_[id - firstKeyId];
    return findChild<QPushButton *>(QString::number(id));
}

void CKbdDialog::FillLanguageList() {
    filling_ = true;
    languages_->clear();
    for (const LANGDETAILS &language : input_.tables().languageTable)
        languages_->addItem(fromUnits(language.name));
    filling_ = false;
    if (input_.currentLanguageIndex() < 0 && languages_->count() > 0)
        input_.SelectLanguage(0);
    else
        inputSelectionChanged();
}

bool CKbdDialog::hasKeyboard() const {
    return input_.currentLanguageIndex() >= 0 && input_.currentLanguage().keyboardsInLanguage > 0 &&
           input_.currentKeyboardData() != nullptr;
}

void CKbdDialog::syncLists() {
    filling_ = true;
    const int language = input_.currentLanguageIndex();
    if (languages_->count() != int(input_.tables().languageTable.size())) {
        languages_->clear();
        for (const LANGDETAILS &l : input_.tables().languageTable)
            languages_->addItem(fromUnits(l.name));
    }
    languages_->setCurrentIndex(language);
    keyboards_->clear();
    if (language >= 0) {
        const LANGDETAILS &record = input_.tables().languageTable[language];
        for (int j = 0; j < record.keyboardsInLanguage; ++j) {
            const std::size_t type = std::size_t(record.firstKeyboard + j);
            keyboards_->addItem(type < input_.tables().keyboardTypeTable.size()
                                    ? fromUnits(input_.tables().keyboardTypeTable[type].name)
                                    : QString());
        }
        keyboards_->setCurrentIndex(record.keyboardsInLanguage > 0 ? record.selectedKeyboard : -1);
    }
    keyboards_->setEnabled(keyboards_->count() > 0);
    filling_ = false;
}

void CKbdDialog::inputSelectionChanged() {
    syncLists();
    const ModifierState &m = input_.modifiers();
    RedrawKeyCaptions(m.shiftLatch != 0, m.ctrlLatch != 0);
    RebuildKeyTooltips();
    // Until the window loads the first dictionary (after start-up), the load waits for it.
    if (dictionaryLoaded_)
        refreshDictionaryStatus();
    frame_.BuildKeyboardMenu();
}

void CKbdDialog::captionsShownFor(bool shift, bool ctrl) {
    RedrawKeyCaptions(shift, ctrl);
}

void CKbdDialog::modifierButtonsShown(bool shiftPressed, bool ctrlPressed) {
    shiftLeft_->setChecked(shiftPressed);
    shiftRight_->setChecked(shiftPressed);
    ctrl_->setChecked(ctrlPressed);
}

void CKbdDialog::RedrawKeyCaptions(bool shift, bool ctrl) {
    shownShift_ = shift;
    shownCtrl_ = ctrl;
    shownCaps_ = CapsLock::isOn();
    // The captions show what a click types: the engine applies Caps Lock to every key of an
    // Indic layout, and to the letter keys only in English.
    const bool english = input_.currentLanguageIndex() == 0;
    const KeyCaptionTable &captions = input_.keyCaptionTable();
    for (int k = 0; k < characterKeyCount; ++k) {
        const bool capsApplies = isLetterKey(k) || !english;
        const bool shiftPart = capsApplies ? shift != shownCaps_ : shift;
        const int layer = (shiftPart ? LayerShift : LayerNormal) + (ctrl ? LayerCtrl : 0);
        const QString caption = fromUnits(captionText(captions, k, layer));
        keys_[k]->setText(caption);
        // A key that types nothing in this layer still has a name.
        keys_[k]->setAccessibleName(
            caption.isEmpty() ? QString(QLatin1Char(shiftPart ? shiftedChars[k] : normalChars[k]))
                              : caption);
    }
}

void CKbdDialog::RebuildKeyTooltips() {
    const KeyCaptionTable &base = input_.tables().baseCaptionTable;
    const KeyCaptionTable &current = input_.keyCaptionTable();
    for (int k = 0; k < characterKeyCount; ++k)
        keys_[k]->setToolTip(QStringLiteral(" %1   %2 \n %3   %4 ")
                                 .arg(fromUnits(captionText(base, k, LayerShift)),
                                      fromUnits(captionText(current, k, LayerShift)),
                                      fromUnits(captionText(base, k, LayerNormal)),
                                      fromUnits(captionText(current, k, LayerNormal))));
}

void CKbdDialog::showLockStates(bool capsLock, bool overtype) {
    lock_->setChecked(capsLock);
    insert_->setChecked(overtype);
    insert_->setText(overtype ? QStringLiteral("OVR") : QStringLiteral("INS"));
    insert_->setAccessibleName(insert_->text());
    if (capsLock != shownCaps_)
        RedrawKeyCaptions(shownShift_, shownCtrl_);
}

int CKbdDialog::cycleLanguageList() {
    const int n = languages_->count();
    if (n == 0)
        return -1;
    const int next = (std::max(languages_->currentIndex(), -1) + 1) % n;
    input_.SelectLanguage(next);
    return input_.currentLanguageIndex();
}

int CKbdDialog::cycleKeyboardList() {
    const int n = keyboards_->count();
    if (n == 0 || !hasKeyboard())
        return -1;
    input_.SelectKeyboard((std::max(keyboards_->currentIndex(), -1) + 1) % n);
    return input_.currentLanguage().selectedKeyboard;
}

void CKbdDialog::refreshDictionaryStatus(bool always) {
    dictionaryLoaded_ = true;
    context_.setLookAheadSource(lookup_.get());
    Settings &settings = context_.mutableSettings();
    if (always)
        lookup_->reload(context_.dictionaries(), settings.defaultDictionaries,
                        settings.userDictionaryPath);
    else if (!lookup_->reloadIfLanguageChanged(context_.dictionaries(),
                                               settings.defaultDictionaries,
                                               settings.userDictionaryPath))
        return;
    frame_.SetDictionaryStatus(lookup_->statusText());
    frame_.MarkLoadedDictionary(lookup_->chosenIndex() >= 0 ? lookup_->chosenIndex() : -2);
}

void CKbdDialog::setTextTarget(QWidget *field) {
    textTarget_ = field;
}

void CKbdDialog::onFocusChanged(QWidget *, QWidget *now) {
    if (!now || now == this || isAncestorOf(now))
        return;
    // The floating pane's own window taking the focus changes nothing either, nor does a
    // popup (the open language list).
    if ((now->window() == window() && !window()->inherits("QMainWindow")) ||
        now->window()->windowType() == Qt::Popup)
        return;
    // Following the focus: a field with Indic input becomes the target, anything else (the
    // document among them) gives the keys back to the document.
    if (qobject_cast<CKbdEdit *>(now))
        textTarget_ = now;
    else if (auto *combo = qobject_cast<CKbdCombo *>(now))
        textTarget_ = combo;
    else if (auto *combo = qobject_cast<CKbdCombo *>(now->parentWidget());
             combo && qobject_cast<QLineEdit *>(now))
        textTarget_ = combo;
    else
        textTarget_ = nullptr;
}

QWidget *CKbdDialog::documentView() const {
    return frame_.activeDocumentEdit();
}

QWidget *CKbdDialog::characterTarget() const {
    if (textTarget_ && textTarget_->isVisible() && textTarget_->isEnabled())
        return textTarget_;
    return documentView();
}

void CKbdDialog::postKey(QWidget *target, int qtKey, const QString &text) {
    if (auto *combo = qobject_cast<CKbdCombo *>(target))
        combo->restoreEditSelection();
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    if (qtKey == 0)
        return;
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void CKbdDialog::clickCharacter(int position) {
    // A language without keyboards types nothing.
    if (!hasKeyboard())
        return;
    QWidget *target = characterTarget();
    if (!target)
        return;
    // Typing into the document gives it the focus (a field that is the target keeps its own).
    if (target == documentView() && !target->hasFocus())
        target->setFocus(Qt::OtherFocusReason);
    const ModifierState &m = input_.modifiers();
    char ch = ' ';
    if (position >= 0) {
        const bool shifted = CapsLock::isOn() != (m.shiftLatch != 0);
        ch = shifted ? shiftedChars[position] : normalChars[position];
    }
    // The character alone, as a key's character message: a key press of a known key would
    // count as a new key going down, which releases the latches before they apply.
    postKey(target, 0, QString(QLatin1Char(ch)));
    // The engine releases the latches after a character it types; a space (or a key the
    // layout leaves empty) passes it untouched, so the latches are released here too.
    input_.ReleaseStickyModifiers();
    modifierButtonsShown(m.shiftLatch != 0, m.ctrlLatch != 0);
    if (shownShift_ != (m.shiftLatch != 0) || shownCtrl_ != (m.ctrlLatch != 0))
        RedrawKeyCaptions(m.shiftLatch != 0, m.ctrlLatch != 0);
}

void CKbdDialog::clickSpecial(int id) {
    const SpecialKey *k = specialKey(id);
    QWidget *view = documentView();
    if (!k || !view)
        return;
    QWidget *target =
        k->toTarget && textTarget_ && textTarget_->isVisible() ? textTarget_.data() : view;
    if (!k->toTarget || target == view)
        target->setFocus(Qt::OtherFocusReason);
    postKey(target, k->qtKey, QString::fromLatin1(k->text));
    input_.ReleaseStickyModifiers();
}

void CKbdDialog::clickShift(bool checked) {
    ModifierState &m = input_.modifiers();
    m.shiftLatch = checked ? 1 : 0;
    shiftLeft_->setChecked(checked);
    shiftRight_->setChecked(checked);
    RedrawKeyCaptions(m.shiftLatch != 0, m.ctrlLatch != 0);
    if (auto *combo = qobject_cast<CKbdCombo *>(textTarget_.data()))
        combo->restoreEditSelection();
}

void CKbdDialog::clickCtrl(bool checked) {
    ModifierState &m = input_.modifiers();
    m.ctrlLatch = checked ? 1 : 0;
    ctrl_->setChecked(checked);
    RedrawKeyCaptions(m.shiftLatch != 0, m.ctrlLatch != 0);
}

void CKbdDialog::showTitleBarState(bool shown) {
    titleBar_->setChecked(shown);
    titleBar_->setText(shown ? QStringLiteral("Hide Title Bar")
                             : QStringLiteral("Display Title Bar"));
    titleBar_->setAccessibleName(titleBar_->text());
}

} // namespace tarvellite::ui
