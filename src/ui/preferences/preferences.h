#pragma once

#include "core/app/settings.h"
#include "core/preferences/page_setup.h"

#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QToolButton;

namespace tarvellite::ui {

class AppContext;
class CPreferences;
class CTarvelLiteView;

/// A number field with up and down buttons: digits only, the buttons step within `minimum` …
/// `maximum`, while typing may leave the range (the page checks it when the field is left).
class NumberField : public QWidget {
    Q_OBJECT
  public:
    NumberField(int minimum, int maximum, QWidget *parent = nullptr);

    QLineEdit *edit() const { return edit_; }
    int value() const { return edit_->text().toInt(); }
    void setValue(int value);
    void setRange(int minimum, int maximum);
    bool inRange() const { return value() >= minimum_ && value() <= maximum_; }

  signals:
    void edited();
    /// The field was left (focus moved away or Enter).
    void left();

  private:
    void step(int by);

    QLineEdit *edit_;
    QToolButton *up_;
    QToolButton *down_;
    int minimum_;
    int maximum_;
};

/// One page of the sheet: filled from the sheet's working copy of the settings when first shown,
/// written back by `apply`, and marks itself modified on any change.
class CPrefPage : public QWidget {
    Q_OBJECT
  public:
    CPrefPage(CPreferences &sheet, const QString &title);
    const QString &title() const { return title_; }
    /// Checks the fields that have limits; on the first one out of range shows its message,
    /// puts the focus in it and returns false.
    virtual bool validate() { return true; }
    /// Writes the fields into `settings`; returns the parts of the settings it changed.
    virtual unsigned apply(Settings &settings) = 0;
    /// The page is shown again (the measurement unit may have changed meanwhile).
    virtual void refresh() {}

  signals:
    void modified();

  protected:
    /// Connects `field`'s leaving to a check of its range with `message` ("%1" is the value).
    void checkWhenLeft(NumberField *field, int minimum, int maximum, const QString &message,
                       const QString &caption);
    /// Shows the range message of `field` and puts the focus back into it; false.
    bool refuse(NumberField *field, const QString &message, const QString &caption);

    CPreferences &sheet_;

  private:
    QString title_;
};

/// "General": default font and size, colours, measurement unit, recent documents, languages and
/// the update check.
class CPrefGeneral : public CPrefPage {
    Q_OBJECT
  public:
    explicit CPrefGeneral(CPreferences &sheet);
    bool validate() override;
    unsigned apply(Settings &settings) override;

    QFontComboBox *fontList() const { return font_; }
    QComboBox *sizeList() const { return size_; }
    QComboBox *unitList() const { return unit_; }
    NumberField *recentField() const { return recent_; }
    QCheckBox *updateBox() const { return update_; }
    NumberField *waitField() const { return wait_; }

  private:
    QFontComboBox *font_;
    QComboBox *size_;
    QPushButton *textColour_;
    QPushButton *backColour_;
    QComboBox *unit_;
    NumberField *recent_;
    QComboBox *languages_[3];
    QCheckBox *update_;
    NumberField *wait_;
    QColor text_;
    QColor back_;
};

/// "Page Setup": paper size, orientation and margins in the chosen unit.
class CPrefDocument : public CPrefPage {
    Q_OBJECT
  public:
    explicit CPrefDocument(CPreferences &sheet);
    unsigned apply(Settings &settings) override;
    void refresh() override;

    const PageSetup &page() const { return page_; }
    QListWidget *sizeList() const { return sizes_; }
    QLineEdit *widthField() const { return width_; }
    QLineEdit *heightField() const { return height_; }
    QLineEdit *marginField(Margin m) const { return margins_[static_cast<int>(m)]; }
    QRadioButton *landscapeButton() const { return landscape_; }
    QPushButton *applyChoiceButton() const { return applyBoth_; }
    QLabel *unitLabel() const { return unitLabel_; }

  private:
    void showLengths();
    void readLength(QLineEdit *field, const std::function<void(int)> &take, int current);

    PageSetup page_;
    QListWidget *sizes_;
    QLineEdit *width_;
    QLineEdit *height_;
    QLineEdit *margins_[4];
    QRadioButton *portrait_;
    QRadioButton *landscape_;
    QPushButton *applyBoth_;
    QLabel *unitLabel_;
};

/// "Files & Folder": the user's folders, backups and auto-save.
class CPrefFolder : public CPrefPage {
    Q_OBJECT
  public:
    explicit CPrefFolder(CPreferences &sheet);
    bool validate() override;
    unsigned apply(Settings &settings) override;

    QLineEdit *folderField(int i) const { return folders_[i]; }
    QCheckBox *autoSaveBox() const { return autoSave_; }
    NumberField *autoSaveField() const { return minutes_; }
    QRadioButton *alwaysBackupButton() const { return always_; }

  private:
    void updateEnabling();

    QLineEdit *folders_[5];
    QRadioButton *always_;
    QRadioButton *never_;
    QCheckBox *unique_;
    QComboBox *format_;
    QCheckBox *autoSave_;
    NumberField *minutes_;
};

/// "Editing Preference": editing mode, Auto Pulli, undo levels, dictionary accuracy, the
/// look-ahead, the TAM/TAB conversion and the face of converted text.
class CPrefEdit : public CPrefPage {
    Q_OBJECT
  public:
    explicit CPrefEdit(CPreferences &sheet);
    bool validate() override;
    unsigned apply(Settings &settings) override;

    NumberField *undoField() const { return undo_; }
    QCheckBox *lookAheadBox() const { return lookAhead_; }
    NumberField *lettersField() const { return letters_; }
    QSlider *accuracySlider() const { return accuracy_; }
    QGroupBox *accuracyGroup() const { return accuracyGroup_; }
    QRadioButton *standardButton() const { return standard_; }
    QButtonGroup *conversionButtons() const { return conversion_; }

  private:
    QRadioButton *enhanced_;
    QRadioButton *standard_;
    QCheckBox *autoPulli_;
    NumberField *undo_;
    QSlider *accuracy_;
    QGroupBox *accuracyGroup_;
    QCheckBox *lookAhead_;
    NumberField *letters_;
    QButtonGroup *conversion_;
    QFontComboBox *unicodeFont_;
};

/// "Preferences": the modal sheet of the pages, with OK, Cancel and Apply. It works on a copy of
/// the settings; Apply writes the pages that were shown into the program's settings at once
/// (every window follows) and, from the Page Setup page, into the active document.
class CPreferences : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { Settings, PageSetup };
    /// `view`: the active document, or null.
    CPreferences(AppContext &context, CTarvelLiteView *view, Mode mode, QWidget *parent = nullptr);

    Mode mode() const { return mode_; }
    AppContext &context() const { return context_; }
    CTarvelLiteView *view() const { return view_; }
    /// The working copy the pages read when they are created.
    const Settings &working() const { return working_; }
    int measureUnit() const { return measureUnit_; }
    void setMeasureUnit(int unit) { measureUnit_ = unit; }
    /// What applying the Page Setup page does: 0 store as default, 1 the current document, 2 both.
    int applyChoice() const { return applyChoice_; }
    void setApplyChoice(int choice) { applyChoice_ = choice; }
    bool applied() const { return applied_; }

    /// Shows page `index` (creating it on first showing).
    void showPage(int index);
    /// The page at `index` if it has been created, else null.
    CPrefPage *page(int index) const;
    int pageCount() const { return int(factories_.size()); }
    QPushButton *applyButton() const { return apply_; }
    QListWidget *pageList() const { return list_; }

    /// Validates and applies the created pages; false when a field refused.
    bool applyPages();

    /// A message box may be up for a field left out of range: nothing else is checked then.
    bool messageShowing() const { return messageShowing_; }
    void setMessageShowing(bool on) { messageShowing_ = on; }

    /// OK: applies when something changed since the last Apply, then closes.
    void accept() override;

  private:
    AppContext &context_;
    CTarvelLiteView *view_;
    Mode mode_;
    Settings working_;
    int measureUnit_;
    int applyChoice_;
    int savedApplyChoice_;
    bool applied_ = false;
    bool messageShowing_ = false;
    std::vector<std::function<CPrefPage *()>> factories_;
    std::vector<CPrefPage *> pages_;
    QListWidget *list_;
    QStackedWidget *stack_;
    QPushButton *apply_;
};

} // namespace tarvellite::ui
