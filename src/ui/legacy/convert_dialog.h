#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvellite::ui {

class CTarvelLiteView;

/// "Conversion From TAM / TAB Fonts": converts the text selected when it opened from TAM or
/// TAB (the user's choice, "TAM Font" at first) to Unicode Tamil, word by word, counting the
/// words and showing progress. Every word of the selection is converted whatever its font, and
/// the whole selection takes the default Unicode font; size, colour and effects stay. Text
/// that cannot be legacy text (characters with no legacy byte, such as Unicode Tamil already
/// there) is left as it is. The whole conversion is one undo step. OK converts once and is
/// then disabled; the dialog stays open until Cancel.
class CConvert : public QDialog {
    Q_OBJECT
  public:
    /// Controls, by their object names.
    static constexpr int tamButtonId = 1233;
    static constexpr int countTextId = 1234;
    static constexpr int tabButtonId = 1235;
    static constexpr int progressId = 1236;

    explicit CConvert(CTarvelLiteView *view);

    /// Whether "TAB Font" is chosen (else "TAM Font").
    bool isTab() const;
    /// Converts the selection (what OK does); returns the number of words converted, or -1
    /// when the conversion has run already.
    int convertSelection();

  private:
    void showProgress(int position, int words, bool force);

    QPointer<CTarvelLiteView> view_;
    int start_ = 0;
    int end_ = 0;
    int selectionEnd_ = 0;
    bool done_ = false;
    QPushButton *tam_;
    QPushButton *tab_;
    QProgressBar *progress_;
    QLabel *count_;
    QDialogButtonBox *buttons_;
    QElapsedTimer sincePaint_;
};

/// The conversion button (32786) of a view: with no selection it says "To convert TAM / TAB
/// text, please Highlight the text and click this button again" and returns null; otherwise
/// it opens `CConvert` over the selection, modal to the view's window (returned at once; it
/// deletes itself when closed).
CConvert *OnConversionButton(CTarvelLiteView *view);

} // namespace tarvellite::ui
