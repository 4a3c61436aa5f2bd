#pragma once

#include "core/spelling/dictionary.h"
#include "core/spelling/spell_walk.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QTimer;

namespace tarvellite {
class CKbdEdit;
}

namespace tarvellite::ui {

class AppContext;
class FrameServices;

/// The spell checker form: the user picks a dictionary and a direction, presses Start, and the
/// form walks the active document word by word, stopping at each word its dictionary rejects
/// with suggestions to change it, or to ignore it or add it to the user dictionary.
///
/// A long walk runs in slices from the event loop, so the window stays responsive and Cancel
/// works while it runs.
class CSpellCheckDialog : public QWidget {
    Q_OBJECT
  public:
    CSpellCheckDialog(AppContext &context, FrameServices &frame, QWidget *parent = nullptr);
    ~CSpellCheckDialog() override;

    /// Words per slice of the walk.
    static constexpr int sliceWords = 2000;

    bool idle() const { return !walk_ || !walk_->running(); }
    const CDictionary &dictionary() const { return dictionary_; }
    CKbdEdit *wordEdit() const { return edit_; }

  private:
    class DocumentText;

    void fillDictionaries();
    bool loadSelectedDictionary();
    void reset(int direction);
    void start();
    void runSlices();
    void showFound();
    void endSession();
    bool sessionViewChanged();
    void ignore();
    void ignoreAll();
    void addToDictionary();
    void change(bool all);
    void cancel();
    void userWordsChanged(const QString &path);

    AppContext &context_;
    FrameServices &frame_;
    CDictionary dictionary_;
    int loadedIndex_ = -1;
    QPointer<QTextEdit> sessionEdit_;
    std::unique_ptr<DocumentText> text_;
    std::unique_ptr<SpellWalk> walk_;
    int startSelection_ = 0;
    bool announcing_ = false;

    CKbdEdit *edit_;
    QListWidget *suggestions_;
    QComboBox *dictionaries_;
    QComboBox *direction_;
    QProgressBar *progress_;
    QPushButton *startButton_;
    QPushButton *ignoreAllButton_;
    QPushButton *addButton_;
    QPushButton *changeButton_;
    QPushButton *changeAllButton_;
    QPushButton *cancelButton_;
    QCheckBox *marks_;
    QTimer *slices_;
};

} // namespace tarvellite::ui
