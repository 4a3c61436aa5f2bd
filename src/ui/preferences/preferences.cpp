#include "ui/preferences/preferences.h"

#include "core/app/messages.h"
#include "core/app/paper_sizes.h"
#include "core/preferences/folder_choice.h"
#include "ui/app/app_context.h"
#include "ui/document/document_settings.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>

namespace tarvellite::ui {

namespace {

QString text16(const std::u16string &s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string units16(const QString &s) {
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

/// Names a control by its id and gives it its caption as accessible name.
template <class W> W *named(W *widget, int id, const QString &caption) {
    widget->setObjectName(QString::number(id));
    widget->setAccessibleName(QString(caption).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return widget;
}

const char *const fontSizes[] = {"6",  "8",  "9",  "10", "11", "12", "14", "16", "18", "22", "24",
                                 "26", "28", "32", "36", "42", "48", "64", "72", "74", "76", "82"};
const char *const languageNames[] = {"English", "Tamil",     "Hindi",    "Telugu",
                                     "Kannada", "Malayalam", "Sinhalese"};

/// Selects `face` in `list`, through the system's substitute when it is not installed.
void selectFace(QFontComboBox *list, const QString &face) {
    QFont font(face);
    if (list->findText(face) < 0)
        font.setFamily(QFontInfo(font).family());
    list->setCurrentFont(font);
}

QPushButton *colourButton(int id, const QString &caption, QWidget *parent) {
    auto *b = named(new QPushButton(parent), id, caption);
    b->setMinimumWidth(64);
    return b;
}

void showColour(QPushButton *button, const QColor &colour) {
    QPixmap swatch(40, 14);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
    button->setToolTip(colour.name());
}

QString message(const QString &text, int value) {
    return text.arg(value);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// NumberField

NumberField::NumberField(int minimum, int maximum, QWidget *parent)
    : QWidget(parent), edit_(new QLineEdit(this)), up_(new QToolButton(this)),
      down_(new QToolButton(this)), minimum_(minimum), maximum_(maximum) {
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), edit_));
    edit_->setMaximumWidth(64);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    for (QToolButton *b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(18, 12);
    }
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
    row->addStretch();
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    connect(edit_, &QLineEdit::textEdited, this, &NumberField::edited);
    connect(edit_, &QLineEdit::editingFinished, this, &NumberField::left);
}

void NumberField::setValue(int value) {
    edit_->setText(QString::number(value));
}

void NumberField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void NumberField::step(int by) {
    setValue(std::clamp(value() + by, minimum_, maximum_));
    emit edited();
}

// ---------------------------------------------------------------------------------------------
// Pages

CPrefPage::CPrefPage(CPreferences &sheet, const QString &title) : sheet_(sheet), title_(title) {
    setAccessibleName(title);
}

void CPrefPage::checkWhenLeft(NumberField *field, int minimum, int maximum, const QString &text,
                              const QString &caption) {
    connect(field, &NumberField::left, this, [=, this] {
        if (sheet_.messageShowing() || (field->value() >= minimum && field->value() <= maximum))
            return;
        // Told after the focus has settled, one message at a time: leaving one wrong field for
        // another never bounces between them.
        QTimer::singleShot(0, this, [=, this] {
            if (!sheet_.messageShowing() && (field->value() < minimum || field->value() > maximum))
                refuse(field, text, caption);
        });
    });
}

bool CPrefPage::refuse(NumberField *field, const QString &text, const QString &caption) {
    sheet_.setMessageShowing(true);
    Message m;
    m.text = message(text, field->value()).toStdString();
    m.caption = caption.toStdString();
    m.icon = MessageIcon::Warning;
    showMessage(m);
    sheet_.setMessageShowing(false);
    field->edit()->setFocus();
    field->edit()->selectAll();
    return false;
}

namespace {

const QString recentText =
    QStringLiteral("Invalid Value: %1; Recent Document Value must be in the range of 0 to 16");
const QString recentCaption = QStringLiteral("Error setting up Recent Documents Value");
const QString waitText = QStringLiteral("Invalid Value: %1; Please set a value between 1 to 30");
const QString waitCaption =
    QStringLiteral("Error setting-up initial Wait time for checking Update");
const QString undoText =
    QStringLiteral("Invalid Value: %1; Undo counts must be in the range of 0 to 80");
const QString undoCaption = QStringLiteral("Error setting-up Undo counts Value");
const QString lettersText =
    QStringLiteral("Invalid Value: %1; Minimum Letters Required must be in the range of 2 to 10");
const QString lettersCaption = QStringLiteral("Error setting-up Minimum Letters Value");

} // namespace

CPrefGeneral::CPrefGeneral(CPreferences &sheet) : CPrefPage(sheet, QStringLiteral("General")) {
    setObjectName(QStringLiteral("250"));
    const Settings &s = sheet.working();
    font_ = named(new QFontComboBox(this), 1163, QStringLiteral("Initial Font:"));
    font_->setMaxVisibleItems(10);
    selectFace(font_, text16(s.defaultFont));
    size_ = named(new QComboBox(this), 1155, QStringLiteral("Font Size:"));
    size_->setMaxVisibleItems(10);
    for (const char *size : fontSizes)
        size_->addItem(QString::fromLatin1(size));
    const QString storedSize = text16(s.defaultFontSize);
    for (int i = 0; i < size_->count(); ++i)
        if (!storedSize.isEmpty() && size_->itemText(i).startsWith(storedSize)) {
            size_->setCurrentIndex(i);
            break;
        }
    text_ = colourFromColorref(s.general.textColour);
    back_ = colourFromColorref(s.general.backgroundColour);
    textColour_ = colourButton(1160, QStringLiteral("Text Color:"), this);
    backColour_ = colourButton(1166, QStringLiteral("Text Background:"), this);
    showColour(textColour_, text_);
    showColour(backColour_, back_);
    unit_ = named(new QComboBox(this), 1127, QStringLiteral("Measurement Units:"));
    unit_->addItems({QStringLiteral("MM"), QStringLiteral("CM"), QStringLiteral("INCHES")});
    unit_->setCurrentIndex(std::clamp(int(s.general.measureUnit), 0, 2));
    recent_ = named(new NumberField(0, 16, this), 1130, QStringLiteral("Recent Documents:"));
    recent_->edit()->setAccessibleName(recent_->accessibleName());
    const int recent = s.general.recentDocuments;
    recent_->setValue(recent >= 0 && recent <= 16 ? recent : 8);
    const std::u16string *languages[] = {&s.helpLanguage, &s.menuLanguage, &s.messageLanguage};
    const int languageIds[] = {1141, 1143, 1149};
    const char *languageCaptions[] = {"Help Language:", "Menu Language:", "Message Language:"};
    for (int i = 0; i < 3; ++i) {
        languages_[i] =
            named(new QComboBox(this), languageIds[i], QString::fromLatin1(languageCaptions[i]));
        for (const char *name : languageNames)
            languages_[i]->addItem(QString::fromLatin1(name));
        languages_[i]->setCurrentIndex(languages_[i]->findText(text16(*languages[i])));
    }
    update_ = named(new QCheckBox(QStringLiteral("Auto Update Checking"), this), 1181,
                    QStringLiteral("Auto Update Checking"));
    wait_ =
        named(new NumberField(1, 30, this), 1243, QStringLiteral("Initial wait for Upgrade Check"));
    wait_->edit()->setAccessibleName(wait_->accessibleName());
    const int waitMinutes = s.general.updateWaitMinutes;
    update_->setChecked(waitMinutes > 0);
    wait_->setValue(waitMinutes > 0 ? waitMinutes : 0);
    wait_->setEnabled(waitMinutes > 0);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Initial Font:"), font_);
    form->addRow(QStringLiteral("Font Size:"), size_);
    form->addRow(QStringLiteral("Text Color:"), textColour_);
    form->addRow(QStringLiteral("Text Background:"), backColour_);
    form->addRow(QStringLiteral("Measurement Units:"), unit_);
    form->addRow(QStringLiteral("Recent Documents:"), recent_);
    form->addRow(QStringLiteral("Help Language:"), languages_[0]);
    form->addRow(QStringLiteral("Menu Language:"), languages_[1]);
    form->addRow(QStringLiteral("Message Language:"), languages_[2]);
    form->addRow(update_);
    auto *waitRow = new QHBoxLayout;
    waitRow->addWidget(wait_);
    waitRow->addWidget(new QLabel(QStringLiteral("Minutes"), this));
    waitRow->addStretch();
    form->addRow(QStringLiteral("Initial wait for Upgrade Check"), waitRow);

    auto chooser = [this](QPushButton *button, QColor &colour, const QString &title) {
        connect(button, &QPushButton::clicked, this, [this, button, &colour, title] {
            const QColor chosen = QColorDialog::getColor(colour, this, title);
            if (chosen.isValid()) {
                colour = chosen;
                showColour(button, colour);
                emit modified();
            }
        });
    };
    chooser(textColour_, text_, QStringLiteral("Text Color"));
    chooser(backColour_, back_, QStringLiteral("Text Background"));
    connect(unit_, &QComboBox::currentIndexChanged, this, [this](int unit) {
        sheet_.setMeasureUnit(unit);
        emit modified();
    });
    connect(update_, &QCheckBox::toggled, this, [this](bool on) {
        wait_->setValue(on ? 1 : 0);
        wait_->setEnabled(on);
        emit modified();
    });
    for (QComboBox *box : {size_, languages_[0], languages_[1], languages_[2]})
        connect(box, &QComboBox::currentIndexChanged, this, &CPrefPage::modified);
    connect(font_, &QFontComboBox::currentFontChanged, this, &CPrefPage::modified);
    for (NumberField *field : {recent_, wait_})
        connect(field, &NumberField::edited, this, &CPrefPage::modified);
    checkWhenLeft(recent_, 0, 16, recentText, recentCaption);
    checkWhenLeft(wait_, 1, 30, waitText, waitCaption);
}

bool CPrefGeneral::validate() {
    if (!recent_->inRange())
        return refuse(recent_, recentText, recentCaption);
    if (update_->isChecked() && !wait_->inRange())
        return refuse(wait_, waitText, waitCaption);
    return true;
}

unsigned CPrefGeneral::apply(Settings &s) {
    const QString face = font_->currentText().trimmed();
    if (!face.isEmpty())
        s.defaultFont = units16(face.left(31));
    s.defaultFontSize = units16(size_->currentText());
    s.general.textColour = colorrefFromColour(text_);
    s.general.backgroundColour = colorrefFromColour(back_);
    s.general.measureUnit = unit_->currentIndex();
    s.general.recentDocuments = recent_->value();
    std::u16string *languages[] = {&s.helpLanguage, &s.menuLanguage, &s.messageLanguage};
    for (int i = 0; i < 3; ++i)
        if (languages_[i]->currentIndex() >= 0)
            *languages[i] = units16(languages_[i]->currentText());
    s.general.updateWaitMinutes = update_->isChecked() ? wait_->value() : 0;
    return GeneralPart | FontPart;
}

CPrefDocument::CPrefDocument(CPreferences &sheet)
    : CPrefPage(sheet, QStringLiteral("Page Setup")),
      page_(PageSetup::fromDefaults(sheet.working().pageDimensions)) {
    setObjectName(QStringLiteral("251"));
    if (sheet.mode() == CPreferences::Mode::PageSetup && sheet.view()) {
        // The active document's page, as it lies.
        const PageLayout layout = sheet.view()->deviceLayout();
        page_ = PageSetup::fromDocument(layout.paperWidth, layout.paperHeight, layout.marginLeft,
                                        layout.marginTop, layout.marginRight, layout.marginBottom);
    }
    auto *heading = new QLabel(QStringLiteral("Default Page Setup Option"), this);
    sizes_ = named(new QListWidget(this), 1177, QStringLiteral("Page Size"));
    for (const PAGESIZE &size : paperSizeTable())
        sizes_->addItem(text16(size.name));
    sizes_->addItem(QStringLiteral("Custom Size"));
    auto lengthField = [this](int id, const char *caption) {
        auto *field = named(new QLineEdit(this), id, QString::fromLatin1(caption));
        field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9.]{0,10}")), field));
        field->setMaximumWidth(90);
        return field;
    };
    width_ = lengthField(1158, "Width:");
    height_ = lengthField(1153, "Height:");
    margins_[int(Margin::Left)] = lengthField(1130, "Left:");
    margins_[int(Margin::Top)] = lengthField(1136, "Top:");
    margins_[int(Margin::Right)] = lengthField(1132, "Right:");
    margins_[int(Margin::Bottom)] = lengthField(1139, "Bottom:");
    portrait_ =
        named(new QRadioButton(QStringLiteral("Portrait"), this), 1176, QStringLiteral("Portrait"));
    landscape_ = named(new QRadioButton(QStringLiteral("Landscape"), this), 1175,
                       QStringLiteral("Landscape"));
    const QString choice = sheet.mode() == CPreferences::Mode::PageSetup
                               ? QStringLiteral("Set this as Default Option")
                               : QStringLiteral("Apply this to Current Document");
    applyBoth_ = named(new QPushButton(choice, this), 1195, choice);
    applyBoth_->setEnabled(sheet.mode() == CPreferences::Mode::PageSetup || sheet.view());
    unitLabel_ = named(new QLabel(this), 1212, QStringLiteral("Measurements"));

    auto *sizeGroup = new QGroupBox(QStringLiteral("Page Size"), this);
    auto *sizeForm = new QFormLayout(sizeGroup);
    sizeForm->addRow(sizes_);
    sizeForm->addRow(QStringLiteral("Width:"), width_);
    sizeForm->addRow(QStringLiteral("Height:"), height_);
    auto *marginGroup = new QGroupBox(QStringLiteral("Page Margins"), this);
    auto *marginForm = new QFormLayout(marginGroup);
    marginForm->addRow(QStringLiteral("Left:"), margins_[int(Margin::Left)]);
    marginForm->addRow(QStringLiteral("Top:"), margins_[int(Margin::Top)]);
    marginForm->addRow(QStringLiteral("Right:"), margins_[int(Margin::Right)]);
    marginForm->addRow(QStringLiteral("Bottom:"), margins_[int(Margin::Bottom)]);
    auto *layoutGroup = new QGroupBox(QStringLiteral("Layout"), this);
    auto *layoutRow = new QHBoxLayout(layoutGroup);
    layoutRow->addWidget(portrait_);
    layoutRow->addWidget(landscape_);
    auto *right = new QVBoxLayout;
    right->addWidget(marginGroup);
    right->addWidget(layoutGroup);
    right->addWidget(applyBoth_);
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addWidget(sizeGroup, 1);
    columns->addLayout(right);
    auto *page = new QVBoxLayout(this);
    page->addWidget(heading);
    page->addLayout(columns);
    page->addWidget(unitLabel_);

    sizes_->setCurrentRow(page_.pageSizeIndex() >= 0 ? page_.pageSizeIndex() : int(paperSizeCount));
    (page_.portrait() ? portrait_ : landscape_)->setChecked(true);
    refresh();

    connect(sizes_, &QListWidget::currentRowChanged, this, [this](int row) {
        page_.choosePaperSize(row < int(paperSizeCount) ? row : -1);
        showLengths();
        emit modified();
    });
    connect(portrait_, &QRadioButton::toggled, this, [this](bool portrait) {
        page_.setPortrait(portrait);
        showLengths();
        emit modified();
    });
    connect(width_, &QLineEdit::editingFinished, this, [this] {
        readLength(
            width_, [this](int t) { page_.setCustomWidth(t); }, page_.customWidth());
    });
    connect(height_, &QLineEdit::editingFinished, this, [this] {
        readLength(
            height_, [this](int t) { page_.setCustomHeight(t); }, page_.customHeight());
    });
    for (Margin m : {Margin::Left, Margin::Top, Margin::Right, Margin::Bottom}) {
        QLineEdit *field = margins_[int(m)];
        connect(field, &QLineEdit::editingFinished, this, [this, field, m] {
            readLength(
                field, [this, m](int t) { page_.setMargin(m, t); }, page_.margin(m));
        });
    }
    connect(applyBoth_, &QPushButton::clicked, this, [this] {
        sheet_.setApplyChoice(2);
        emit modified();
    });
}

void CPrefDocument::readLength(QLineEdit *field, const std::function<void(int)> &take,
                               int current) {
    const std::optional<int> twips =
        lengthFromText(field->text().toStdString(), sheet_.measureUnit(), current);
    if (twips && *twips != current) {
        take(*twips);
        emit modified();
    }
    showLengths();
}

void CPrefDocument::refresh() {
    showLengths();
    unitLabel_->setText(QString::fromLatin1(unitSentence(sheet_.measureUnit())));
}

void CPrefDocument::showLengths() {
    const int unit = sheet_.measureUnit();
    auto show = [unit](QLineEdit *field, int twips) {
        const QString text = QString::fromStdString(lengthText(twips, unit));
        if (field->text() != text)
            field->setText(text);
    };
    // The custom size shows (and is typed) while "Custom Size" is chosen.
    const bool custom = page_.pageSizeIndex() < 0;
    show(width_, page_.shownWidth());
    show(height_, page_.shownHeight());
    width_->setEnabled(custom);
    height_->setEnabled(custom);
    for (Margin m : {Margin::Left, Margin::Top, Margin::Right, Margin::Bottom})
        show(margins_[int(m)], page_.margin(m));
}

unsigned CPrefDocument::apply(Settings &s) {
    unsigned parts = 0;
    const int choice = sheet_.applyChoice();
    if (choice != 1) {
        s.pageDimensions = page_.toDimensions(s.pageDimensions);
        parts |= PagePart;
    }
    if (choice != 0) {
        if (CTarvelLiteView *view = sheet_.view()) {
            PageLayout layout = view->getDocument()->pageLayout();
            layout.paperWidth = page_.shownWidth();
            layout.paperHeight = page_.shownHeight();
            layout.marginLeft = page_.margin(Margin::Left);
            layout.marginTop = page_.margin(Margin::Top);
            layout.marginRight = page_.margin(Margin::Right);
            layout.marginBottom = page_.margin(Margin::Bottom);
            view->ApplyPageLayout(&layout, true);
        }
    }
    return parts;
}

CPrefFolder::CPrefFolder(CPreferences &sheet) : CPrefPage(sheet, QStringLiteral("Files & Folder")) {
    setObjectName(QStringLiteral("253"));
    const Settings &s = sheet.working();
    const std::string *paths[] = {&s.defaultUserPath, &s.picturePath, &s.templatePath,
                                  &s.backupPath, &s.userDictionaryPath};
    const int ids[] = {1157, 1161, 1164, 1170, 1173};
    const char *captions[] = {"Document:", "Picture:", "Template:", "Backup:", "User Dictionary:"};
    auto *form = new QFormLayout(this);
    for (int i = 0; i < 5; ++i) {
        folders_[i] = named(new QLineEdit(QString::fromStdString(*paths[i]), this), ids[i],
                            QString::fromLatin1(captions[i]));
        auto *browse = new QPushButton(QStringLiteral("..."), this);
        browse->setObjectName(QStringLiteral("browse-%1").arg(ids[i]));
        browse->setAccessibleName(
            QStringLiteral("Browse for %1").arg(QString::fromLatin1(captions[i]).chopped(1)));
        browse->setMaximumWidth(32);
        connect(browse, &QPushButton::clicked, this, [this, i] {
            const QString chosen = QFileDialog::getExistingDirectory(
                this, QStringLiteral("Choose a folder"), folders_[i]->text());
            if (!chosen.isEmpty()) {
                folders_[i]->setText(chosen + QLatin1Char('/'));
                emit modified();
            }
        });
        connect(folders_[i], &QLineEdit::textEdited, this, &CPrefPage::modified);
        auto *row = new QHBoxLayout;
        row->addWidget(folders_[i], 1);
        row->addWidget(browse);
        form->addRow(QString::fromLatin1(captions[i]), row);
    }
    always_ = named(new QRadioButton(QStringLiteral("Always Backup"), this), 1208,
                    QStringLiteral("Always Backup"));
    never_ = named(new QRadioButton(QStringLiteral("Never Backup"), this), 1209,
                   QStringLiteral("Never Backup"));
    unique_ = named(new QCheckBox(QStringLiteral("Unique Filename"), this), 1181,
                    QStringLiteral("Unique Filename"));
    format_ = named(new QComboBox(this), 1155, QStringLiteral("Filename Format:"));
    format_->addItems({QStringLiteral("Unique Number"), QStringLiteral("Date & Time Stamp")});
    autoSave_ = named(new QCheckBox(QStringLiteral("Auto Save:"), this), 1133,
                      QStringLiteral("Auto Save:"));
    minutes_ = named(new NumberField(1, 99, this), 1130, QStringLiteral("Auto Save Time:"));
    minutes_->edit()->setAccessibleName(minutes_->accessibleName());
    const BackupOption &b = s.backupOption;
    (b.alwaysBackup ? always_ : never_)->setChecked(true);
    unique_->setChecked(b.uniqueFileName != 0);
    format_->setCurrentIndex(std::clamp(int(b.backupNameFormat), 0, 1));
    autoSave_->setChecked(b.autoSave != 0);
    minutes_->setValue(b.autoSaveMinutes);
    auto *backupRow = new QHBoxLayout;
    backupRow->addWidget(always_);
    backupRow->addWidget(never_);
    form->addRow(backupRow);
    form->addRow(unique_);
    form->addRow(QStringLiteral("Filename Format:"), format_);
    form->addRow(autoSave_);
    form->addRow(QStringLiteral("Auto Save Time:"), minutes_);
    updateEnabling();
    for (QAbstractButton *button :
         std::initializer_list<QAbstractButton *>{always_, never_, unique_, autoSave_})
        connect(button, &QAbstractButton::toggled, this, [this] {
            updateEnabling();
            emit modified();
        });
    connect(format_, &QComboBox::currentIndexChanged, this, &CPrefPage::modified);
    connect(minutes_, &NumberField::edited, this, &CPrefPage::modified);
    // Auto-save minutes are put back into their range without a message.
    connect(minutes_, &NumberField::left, this,
            [this] { minutes_->setValue(std::clamp(minutes_->value(), 1, 99)); });
}

void CPrefFolder::updateEnabling() {
    unique_->setEnabled(always_->isChecked());
    format_->setEnabled(always_->isChecked() && unique_->isChecked());
    minutes_->setEnabled(autoSave_->isChecked());
}

bool CPrefFolder::validate() {
    minutes_->setValue(std::clamp(minutes_->value(), 1, 99));
    return true;
}

unsigned CPrefFolder::apply(Settings &s) {
    std::string *paths[] = {&s.defaultUserPath, &s.picturePath, &s.templatePath, &s.backupPath,
                            &s.userDictionaryPath};
    const char *names[] = {"Document", "Picture", "Template", "Backup", "User Dictionary"};
    unsigned parts = 0;
    for (int i = 0; i < 5; ++i) {
        const FolderChoice choice = chooseFolder(folders_[i]->text().toStdString(), *paths[i]);
        if (!choice.refusal.empty()) {
            Message m;
            m.text = std::string(names[i]) + " folder not changed: " + choice.refusal;
            m.icon = MessageIcon::Warning;
            showMessage(m);
        }
        if (choice.path != *paths[i]) {
            *paths[i] = choice.path;
            parts |= FolderPart;
            // The backup folder keeps its recovery files in a hidden "Temp" folder.
            if (i == 3 && createFolder(choice.path + "Temp") != FolderOutcome::Failed)
                hideInFolder(choice.path, "Temp");
        }
        folders_[i]->setText(QString::fromStdString(*paths[i]));
    }
    BackupOption &b = s.backupOption;
    const BackupOption before = b;
    b.autoSave = autoSave_->isChecked() ? 1 : 0;
    b.alwaysBackup = always_->isChecked() ? 1 : 0;
    b.uniqueFileName = unique_->isChecked() ? 1 : 0;
    b.autoSaveMinutes = std::clamp(minutes_->value(), 1, 99);
    b.backupNameFormat = format_->currentIndex();
    // The timer starts again only when auto-save was switched or its minutes changed.
    if (b.autoSave != before.autoSave || b.autoSaveMinutes != before.autoSaveMinutes)
        parts |= BackupPart;
    return parts;
}

CPrefEdit::CPrefEdit(CPreferences &sheet) : CPrefPage(sheet, QStringLiteral("Editing Preference")) {
    setObjectName(QStringLiteral("255"));
    const EditOption &e = sheet.working().editOption;
    auto *smart = new QGroupBox(QStringLiteral("Smart Editing Function"), this);
    enhanced_ = named(new QRadioButton(QStringLiteral("Enhanced"), smart), 1244,
                      QStringLiteral("Enhanced"));
    standard_ = named(new QRadioButton(QStringLiteral("Standard"), smart), 1245,
                      QStringLiteral("Standard"));
    (e.enhancedEditing ? enhanced_ : standard_)->setChecked(true);
    auto *smartRow = new QHBoxLayout(smart);
    smartRow->addWidget(enhanced_);
    smartRow->addWidget(standard_);
    autoPulli_ = named(new QCheckBox(QStringLiteral("Auto Pulli for Tamil:"), this), 1185,
                       QStringLiteral("Auto Pulli for Tamil:"));
    autoPulli_->setChecked(e.autoPulliOn());
    undo_ = named(new NumberField(0, 80, this), 1138, QStringLiteral("Edit - Undo / Redo Levels:"));
    undo_->edit()->setAccessibleName(undo_->accessibleName());
    undo_->setValue(e.undoLevels >= 0 && e.undoLevels <= 80 ? e.undoLevels : 40);
    accuracyGroup_ = named(new QGroupBox(this), 1250, QStringLiteral("Dictionary Accuracy"));
    accuracy_ = named(new QSlider(Qt::Horizontal, accuracyGroup_), 1249,
                      QStringLiteral("Dictionary Accuracy"));
    accuracy_->setRange(1, 9);
    accuracy_->setPageStep(1);
    accuracy_->setValue(e.dictionaryAccuracy);
    auto caption = [this] {
        accuracyGroup_->setTitle(
            QStringLiteral("Dictionary Accuracy Value: %1").arg(accuracy_->value()));
    };
    caption();
    auto *accuracyRow = new QHBoxLayout(accuracyGroup_);
    accuracyRow->addWidget(new QLabel(QStringLiteral("Low"), accuracyGroup_));
    accuracyRow->addWidget(accuracy_, 1);
    accuracyRow->addWidget(new QLabel(QStringLiteral("High"), accuracyGroup_));
    lookAhead_ = named(new QCheckBox(QStringLiteral("Enable Look Ahead Feature"), this), 1246,
                       QStringLiteral("Enable Look Ahead Feature"));
    letters_ =
        named(new NumberField(2, 10, this), 1247, QStringLiteral("Minimum Letters Required:"));
    letters_->edit()->setAccessibleName(letters_->accessibleName());
    const bool lookAheadOn = e.lookAheadMinLetters >= 2;
    lookAhead_->setChecked(lookAheadOn);
    letters_->setValue(lookAheadOn ? e.lookAheadMinLetters : 2);
    letters_->setEnabled(lookAheadOn);
    auto *conversionGroup =
        new QGroupBox(QStringLiteral("TAM / TAB Font Conversion for RTF File"), this);
    conversion_ = new QButtonGroup(this);
    auto *conversionRow = new QVBoxLayout(conversionGroup);
    const std::pair<int, const char *> conversions[] = {
        {1168, "Always Ask"}, {1171, "Automatically Convert"}, {1174, "Do not convert"}};
    for (int i = 0; i < 3; ++i) {
        auto *radio =
            named(new QRadioButton(QString::fromLatin1(conversions[i].second), conversionGroup),
                  conversions[i].first, QString::fromLatin1(conversions[i].second));
        conversion_->addButton(radio, i);
        conversionRow->addWidget(radio);
    }
    if (QAbstractButton *checked = conversion_->button(e.tamTabConversion))
        checked->setChecked(true);
    unicodeFont_ =
        named(new QFontComboBox(this), 1210, QStringLiteral("Default Unicode Font to use:"));
    unicodeFont_->setMaxVisibleItems(10);
    selectFace(unicodeFont_, text16(e.defaultUnicodeFont));

    auto *form = new QFormLayout(this);
    form->addRow(smart);
    form->addRow(autoPulli_);
    form->addRow(QStringLiteral("Edit - Undo / Redo Levels:"), undo_);
    form->addRow(accuracyGroup_);
    form->addRow(lookAhead_);
    form->addRow(QStringLiteral("Minimum Letters Required:"), letters_);
    form->addRow(conversionGroup);
    form->addRow(QStringLiteral("Default Unicode Font to use:"), unicodeFont_);

    connect(accuracy_, &QSlider::sliderReleased, this, caption);
    connect(accuracy_, &QSlider::valueChanged, this, [this, caption] {
        if (!accuracy_->isSliderDown())
            caption();
        emit modified();
    });
    connect(lookAhead_, &QCheckBox::toggled, this, [this](bool on) {
        letters_->setEnabled(on);
        if (on)
            letters_->setValue(2);
        emit modified();
    });
    for (QAbstractButton *button :
         std::initializer_list<QAbstractButton *>{enhanced_, standard_, autoPulli_})
        connect(button, &QAbstractButton::toggled, this, &CPrefPage::modified);
    connect(conversion_, &QButtonGroup::idToggled, this, &CPrefPage::modified);
    connect(unicodeFont_, &QFontComboBox::currentFontChanged, this, &CPrefPage::modified);
    for (NumberField *field : {undo_, letters_})
        connect(field, &NumberField::edited, this, &CPrefPage::modified);
    checkWhenLeft(undo_, 0, 80, undoText, undoCaption);
    checkWhenLeft(letters_, 2, 10, lettersText, lettersCaption);
}

bool CPrefEdit::validate() {
    if (!undo_->inRange())
        return refuse(undo_, undoText, undoCaption);
    if (lookAhead_->isChecked() && !letters_->inRange())
        return refuse(letters_, lettersText, lettersCaption);
    return true;
}

unsigned CPrefEdit::apply(Settings &s) {
    EditOption &e = s.editOption;
    const QString face = unicodeFont_->currentText().trimmed();
    if (!face.isEmpty())
        e.defaultUnicodeFont = units16(face.left(31));
    if (conversion_->checkedId() >= 0)
        e.tamTabConversion = conversion_->checkedId();
    e.autoPulli = autoPulli_->isChecked() ? 1 : 0;
    e.undoLevels = undo_->value();
    e.dictionaryAccuracy = accuracy_->value();
    e.enhancedEditing = enhanced_->isChecked() ? 1 : 0;
    e.lookAheadMinLetters = lookAhead_->isChecked() ? letters_->value() : 0;
    return EditPart;
}

// ---------------------------------------------------------------------------------------------
// The sheet

CPreferences::CPreferences(AppContext &context, CTarvelLiteView *view, Mode mode, QWidget *parent)
    : QDialog(parent), context_(context), view_(view), mode_(mode), working_(context.settings()),
      measureUnit_(std::clamp(int(context.settings().general.measureUnit), 0, 2)),
      // Page setup with no document open works on the stored defaults.
      applyChoice_(mode == Mode::PageSetup && view ? 1 : 0), savedApplyChoice_(applyChoice_) {
    setObjectName(QStringLiteral("249"));
    setWindowTitle(QStringLiteral("Preferences"));
    setAccessibleName(windowTitle());
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("pages"));
    list_->setAccessibleName(QStringLiteral("Pages"));
    stack_ = new QStackedWidget(this);
    struct Entry {
        const char *title;
        QStyle::StandardPixmap icon;
        std::function<CPrefPage *()> make;
    };
    std::vector<Entry> entries;
    if (mode == Mode::Settings)
        entries.push_back(
            {"General", QStyle::SP_FileDialogInfoView, [this] { return new CPrefGeneral(*this); }});
    entries.push_back(
        {"Page Setup", QStyle::SP_FileIcon, [this] { return new CPrefDocument(*this); }});
    if (mode == Mode::Settings) {
        entries.push_back(
            {"Files & Folder", QStyle::SP_DirIcon, [this] { return new CPrefFolder(*this); }});
        entries.push_back({"Editing Preference", QStyle::SP_FileDialogContentsView,
                           [this] { return new CPrefEdit(*this); }});
    }
    for (const Entry &entry : entries) {
        auto *item = new QListWidgetItem(QString::fromLatin1(entry.title), list_);
        if (mode == Mode::Settings)
            item->setIcon(style()->standardIcon(entry.icon));
        factories_.push_back(entry.make);
        pages_.push_back(nullptr);
        stack_->addWidget(new QWidget(stack_));
    }
    if (mode == Mode::Settings) {
        // The icon bar.
        list_->setViewMode(QListView::IconMode);
        list_->setIconSize(QSize(32, 32));
        list_->setFlow(QListView::TopToBottom);
        list_->setWrapping(false);
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list_->setMovement(QListView::Static);
        list_->setGridSize(QSize(96, 64));
        list_->setWordWrap(true);
    }
    list_->setFixedWidth(100);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    apply_ = new QPushButton(QStringLiteral("&Apply"), this);
    apply_->setObjectName(QStringLiteral("12321"));
    apply_->setAccessibleName(QStringLiteral("Apply"));
    apply_->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(apply_);
    auto *body = new QHBoxLayout;
    body->addWidget(list_);
    body->addWidget(stack_, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(body, 1);
    column->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, &CPreferences::showPage);
    connect(ok, &QPushButton::clicked, this, &CPreferences::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, [this] { applyPages(); });
    list_->setCurrentRow(0);
    resize(640, 520);
}

void CPreferences::showPage(int index) {
    if (index < 0 || index >= pageCount())
        return;
    if (!pages_[index]) {
        CPrefPage *created = factories_[index]();
        pages_[index] = created;
        QWidget *placeholder = stack_->widget(index);
        stack_->insertWidget(index, created);
        stack_->removeWidget(placeholder);
        delete placeholder;
        connect(created, &CPrefPage::modified, this, [this] { apply_->setEnabled(true); });
    } else {
        pages_[index]->refresh();
    }
    stack_->setCurrentIndex(index);
    if (list_->currentRow() != index)
        list_->setCurrentRow(index);
}

CPrefPage *CPreferences::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[index] : nullptr;
}

bool CPreferences::applyPages() {
    for (CPrefPage *p : pages_) {
        if (p && !p->validate()) {
            showPage(int(std::find(pages_.begin(), pages_.end(), p) - pages_.begin()));
            return false;
        }
    }
    Settings settings = context_.settings();
    unsigned parts = 0;
    for (CPrefPage *p : pages_)
        if (p)
            parts |= p->apply(settings);
    context_.changeSettings(parts, [&settings](Settings &s) { s = settings; });
    working_ = context_.settings();
    applied_ = true;
    apply_->setEnabled(false);
    applyChoice_ = savedApplyChoice_;
    return true;
}

void CPreferences::accept() {
    if (apply_->isEnabled() && !applyPages())
        return;
    QDialog::accept();
}

} // namespace tarvellite::ui
